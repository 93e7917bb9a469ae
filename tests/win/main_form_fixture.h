// The program's main form loaded by the Win32 runtime in the test process, with a program
// state of the test's own; gone again after each test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "app/program_state.h"
#include "forms/control_ids.h"
#include "forms/main_form.h"
#include "runtime/win32/win32_form_runtime.h"
#include "tests/win/pump_messages.h"

namespace moyuan::testing_support {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtime_ = std::make_unique<win32::Win32FormRuntime>();
        runtime_->startRuntime(mainForm(state_));
        runtime_->loadStartWindow(kMainWindowId);
        pumpMessages();
        window_ = control(kWindow);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        runtime_.reset();
        pumpMessages();
    }

    HWND control(ControlId id) const { return reinterpret_cast<HWND>(runtime_->windowHandle(id)); }

    ProgramState state_;
    std::unique_ptr<win32::Win32FormRuntime> runtime_;
    HWND window_ = nullptr;
};

} // namespace moyuan::testing_support
