#pragma once

namespace quarn {

// The per-user key of both programs and the machine-wide key of "Path".
inline constexpr char QuarnRegistryKey[] = "SOFTWARE\\Ostrel\\Quarn!";

} // namespace quarn
