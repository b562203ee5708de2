// The till program's entry: decimal-symbol check, data module and stock database, splash with
// the cashier log-in, the sale window and the message loop.
#pragma once

// Runs the till; returns the program's exit code (0).
int ProgramEntry(int argc, char** argv);
