#pragma once

#include <string>

// printf-style formatting that always writes numbers the C way, with "." as
// decimal mark. A Qt application sets the C library's locale from the
// environment, and every printf-family call in the process would then follow
// the user's locale; these calls switch this thread alone to the C locale for
// the length of the call, leaving the process locale and other threads as
// they are.
std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
