#pragma once

/// The program from its first line to its exit code.
int RunOstrel(int argc, char** argv);
