#pragma once

#include <cstddef>
#include <string>

// Small functions on zero-terminated 8-bit texts that the whole program shares. Every function
// accepts a null text where it makes sense (a null text is blank, sorts first, has no copy).
// White space is the 7-bit white space of the C library; bytes 0x80 and above never are.

bool IsSpaceAscii(char c);
// True for null, the empty text and a text of white space only.
bool IsBlank(const char* text);
bool IsBlank(const std::string& text);

// The position after leading white space / of the first white space (or the end) / after leading
// decimal digits.
const char* SkipSpaces(const char* text);
char* SkipSpaces(char* text);
const char* SkipToSpace(const char* text);
char* SkipToSpace(char* text);
const char* SkipDigits(const char* text);
char* SkipDigits(char* text);

// Cut trailing white space in place; a null text is ignored.
void TrimTrailingSpaces(char* text);
void TrimTrailingSpaces(std::string& text);

// On a text with a decimal point: cuts trailing zeros after it, keeping at least `keep` decimals,
// and a bare trailing point ("1.500" -> "1.5", "2.000" -> "2"). A text without a point is unchanged.
void TrimTrailingZeros(char* text, int keep = 0);
void TrimTrailingZeros(std::string& text, int keep = 0);

// "%g" beyond +-1e10 and for NaN; otherwise `decimals` decimals with the trailing zeros cut.
std::string FormatReal(double value, int decimals);

// Texts in new memory from the C allocator: the caller frees them with FreeBuffer (std::free).
char* AllocString(size_t size);
char* DupString(const char* text);
// At most n characters; null for a null text or a negative n.
char* DupStringN(const char* text, int n);

// Length plus one; 0 for null.
int StringSize(const char* text);
// Copies at most size - 1 characters and always terminates (nothing for size 0).
void CopyString(char* destination, const char* source, size_t size);

// -1, 0 or 1 by unsigned bytes. The same pointer (two nulls too) is equal; null sorts first.
int CompareStrings(const char* a, const char* b);
int CompareStringsNoCase(const char* a, const char* b);
int CompareStringsN(const char* a, const char* b, size_t n);
int CompareStringsNNoCase(const char* a, const char* b, size_t n);
// 0 when text begins with prefix.
int ComparePrefix(const char* text, const char* prefix);
int ComparePrefixNoCase(const char* text, const char* prefix);

void MakeUpperCase(char* text);
void MakeUpperCase(std::string& text);

// Order of names and version texts: "." separates fields; in a field digit runs compare by value
// and sort before other characters, letters compare without case; the first raw difference (case,
// leading zeros) breaks a tie within a field. "file2" < "file10", "1.9" < "1.10".
int CompareNatural(const char* a, const char* b);

// A space becomes "+"; letters, digits, "-", "." and "_" stay; any other byte becomes "%xx" (lower-case
// hex), or "%25xx" with double escaping.
std::string UrlEncode(const char* text, bool doubleEscape);
// Letters, digits and "_., +-=!@#$^&()" stay; any other byte becomes "%xx".
std::string EscapeFormValue(const char* text);
// "%" and two hex digits become that byte; everything else is copied.
std::string UnescapeFormValue(const char* text);
