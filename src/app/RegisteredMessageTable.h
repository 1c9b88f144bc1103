#pragma once
// The process's registered window messages: the product identity, the five GUID messages, the
// input-hook messages and the game-event messages. Registered once at start-up (before any window
// exists) and only read afterwards, so workers read them without locking.
#include <cstdint>
#include <string>
#include <vector>

namespace dravik {

struct RegisteredMessageTable {
    uint32_t productIdentity = 0;         // "Dravik"
    uint32_t lightState = 0;              // ...BF15: another program took the light control
    uint32_t lightAnnounce = 0;           // ...BF16: this program announces its light-control state
    uint32_t lightSet = 0;                // ...BF17: set the light-control state from outside
    uint32_t lightDataQuery = 0;          // ...BF18: send the lighting data to the music window
    uint32_t audioCommand = 0;            // ...BE19: command to the audio-capture process
    std::vector<uint32_t> hookMessages;   // the fourteen WM_HOOK_* messages, in table order
    std::vector<uint32_t> mouseMessages;  // the UWM_* messages (the duplicate name maps once)
    std::vector<uint32_t> gameMessages;   // Game_Start, Game_End, Game_Kill, Game_Death
};

extern const char* const kGuidMessageNames[5];
extern const char* const kHookMessageNames[14];
extern const char* const kMouseMessageNames[5];
extern const char* const kGameMessageNames[4];

// The statics (hook, mouse and game names), registered before start-up proper.
void RegisterStaticMessages();
// Step 3 of start-up: the product identity; returns its id.
uint32_t RegisterProductIdentityMessage();
// Step 6 of start-up: the GUID messages in table order.
void RegisterGuidMessages();

const RegisteredMessageTable& Messages();

}  // namespace dravik
