#pragma once

// Shows the main window and runs the event loop until it closes. A request from outside to end (the session
// ending, Ctrl+C in a terminal) closes every window as the player would, so the running game is kept and the
// history written; the process then ends by that signal. Otherwise returns the event loop's exit code.
int runProgram();
