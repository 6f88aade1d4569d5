#pragma once

#include <string>
#include <string_view>

// Writes bytes to a file beside path and renames it to path once every byte
// is out, so that path never holds half a file: it keeps what it held before
// when writing fails. false, with a one-line reason in error, when it could not.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);

// The name written to before the rename: in the same folder, so that the
// rename does not cross file systems, and per process.
std::string PartialName(const std::string& path);
