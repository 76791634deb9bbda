#pragma once

#include <string>

// What a path leads to when it is not a regular file: "a directory", "a pipe
// (FIFO)", "a device" or "a socket". Empty for a regular file, and for a
// path that leads nowhere (opening it then says why). Reading a pipe or a
// device could wait for ever, so files the program reads are looked at first.
std::string NotAFile(const std::string& Path);

// Throws std::runtime_error "cannot read PATH: reason" unless Path leads to a regular file.
void CheckReadable(const std::string& Path);
