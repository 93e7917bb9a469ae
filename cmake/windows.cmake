# The Windows side: the Win32 form runtime, the GDI snapshot, resources and the executable.

set(win32_runtime_sources
  runtime/win32/balloon.cpp runtime/win32/button.cpp runtime/win32/dib.cpp
  runtime/win32/balloon_notice.cpp
  runtime/win32/draw_panel.cpp runtime/win32/fatal_error.cpp runtime/win32/main_window.cpp
  runtime/win32/picture_box.cpp runtime/win32/test_log.cpp runtime/win32/wide_text.cpp
  runtime/win32/win32_form_runtime.cpp runtime/win32/window_builder.cpp
  runtime/win32/window_geometry.cpp
  runtime/win32/text_input_box.cpp runtime/win32/file_writer.cpp runtime/win32/runtime_texts.cpp
  capture/gdi_snapshot.cpp)
moyuan_gbk_texts(runtime/win32/runtime_texts.cpp)

if(CMAKE_SYSTEM_PROCESSOR MATCHES "64")
  set(MANIFEST_ARCH amd64)
else()
  set(MANIFEST_ARCH x86)
endif()
configure_file(forms/app.manifest.in ${generated}/app.manifest @ONLY)

if(MSVC)
  set(static_runtime "")
  set(wide_entry "")
else()
  # Static runtime: the exe imports only system DLLs. wWinMain is the entry.
  set(static_runtime -static -static-libgcc -static-libstdc++)
  set(wide_entry -municode)
endif()
set(win32_system_libs comctl32 gdi32 user32 msimg32)

# The Win32 runtime, once as released and once with the end-to-end tests' log.
function(moyuan_win32_runtime name)
  add_library(${name} STATIC ${win32_runtime_sources})
  target_link_libraries(${name} PUBLIC moyuan_program ${win32_system_libs})
  target_compile_definitions(${name} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX ${ARGN})
  target_link_options(${name} PUBLIC ${static_runtime})
endfunction()

function(moyuan_executable name runtime)
  add_executable(${name} WIN32 runtime/win32/process_entry.cpp forms/app.rc)
  target_link_libraries(${name} PRIVATE ${runtime})
  target_link_options(${name} PRIVATE ${wide_entry})
  target_include_directories(${name} PRIVATE ${generated} ${PROJECT_SOURCE_DIR}/forms)
  if(MSVC)
    # The manifest comes from app.rc; the linker must not add one of its own.
    target_link_options(${name} PRIVATE /MANIFEST:NO)
  endif()
  set_source_files_properties(forms/app.rc PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/forms/art/app.ico;${generated}/app.manifest")
endfunction()

moyuan_win32_runtime(moyuan_win32_runtime)
moyuan_executable(moyuan_capture moyuan_win32_runtime)

if(MOYUAN_TESTS)
  moyuan_win32_runtime(moyuan_win32_runtime_hooks MOYUAN_TEST_HOOKS)
  moyuan_executable(moyuan_capture_testhooks moyuan_win32_runtime_hooks)
endif()
