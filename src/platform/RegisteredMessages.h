#pragma once
// Registered window messages: a name maps to one id in 0xC000–0xFFFF for the life of the process
// (names compare case-insensitively, as window-message names do). Across processes messages
// travel by name, so ids need not agree between processes.
#include <cstdint>
#include <optional>
#include <string>

namespace dravik::platform {

inline constexpr uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr uint32_t kLastRegisteredMessage = 0xFFFF;

// Returns the id for name, registering it on first use; 0 when the name is empty or the range is
// exhausted.
uint32_t RegisterMessage(const std::string& name);
// The name registered for id, if any.
std::optional<std::string> RegisteredMessageName(uint32_t id);

}  // namespace dravik::platform
