#pragma once

#include <string>

// What a Schoenflies symbol says in this program's terms.
struct GroupName
{
    int kind;
    int n;
    int reflection;
    int order;  // rotations
};

GroupName FromSchoenflies(const std::string& s);

// The published symmetry group of Johnson solid j (1 to 92) as a Schoenflies symbol ("C4v").
const char* JohnsonGroup(int j);

// The OFF file of Johnson solid j; empty when there is none.
std::string JohnsonFile(int j);
