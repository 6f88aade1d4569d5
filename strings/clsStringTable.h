#pragma once

#include <QString>

#include <cstdint>

// The program's user-interface texts, compiled in, looked up by id.
// An id without a text gives the empty text.
QString GetStringById(std::int32_t id);
