// The --help and --version answers every executable gives, in one place.
#pragma once

#include <cstdio>
#include <string_view>

namespace euchre::commandline {

// The version all executables report; the build passes the project's version.
#ifndef EUCHRE_VERSION
#define EUCHRE_VERSION "unknown"
#endif

// Prints "NAME (Euchre) VERSION" and the licence line to standard output.
inline int printVersion(const char* program) {
    std::printf("%s (Euchre) %s\n"
                "Copyright (C) the Euchre developers.\n"
                "License MIT: you may copy, change and share it; it comes with no warranty.\n",
                program, EUCHRE_VERSION);
    return 0;
}

// True for the words that ask for the version.
inline bool asksForVersion(std::string_view arg) {
    return arg == "--version";
}

// True for the words that ask for help.
inline bool asksForHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

} // namespace euchre::commandline
