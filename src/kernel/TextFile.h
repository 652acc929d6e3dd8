#pragma once

#include <cstdio>
#include <string>

// Reads the next significant line of a plain ASCII text file: lines that are blank or begin (after
// white space) with the comment prefix are skipped; a comment that follows white space is cut with
// that white space, and trailing white space goes. Leading white space stays; bytes 0x80 and above
// are text. Lines may be of any length. lineCounter (when given) counts every physical line read.
// False at the end of the file. On the first line, with error given, a Unicode byte-order mark fails
// the read with the message for the user in *error.
bool ReadTextLine(FILE* file, std::string& line, int* lineCounter, const char* commentPrefix, std::string* error);
