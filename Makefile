# The two commands of the project. Both install what they need first (tools/bootstrap.sh).
.PHONY: run test

# Starts the program (under Wine); on a machine without a display it plays the main use in a
# private virtual display and saves a screenshot under build/run/.
run:
	@tools/run.sh

# Builds all three builds and runs every test: native unit tests, Windows-side tests and
# end-to-end tests under Wine.
test:
	@tools/test-all.sh
