#include "app/RegisteredMessageTable.h"

#include "platform/Folders.h"
#include "platform/RegisteredMessages.h"

namespace dravik {

const char* const kGuidMessageNames[5] = {
    "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}", "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}",
    "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}", "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}",
    "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}"};

const char* const kHookMessageNames[14] = {
    "WM_HOOK_KEY_SINGLEKEY_MSG",       "WM_HOOK_KEY_HITKEY_MSG",
    "WM_HOOK_KEY_KBMACRO_MSG",         "WM_HOOK_KEY_MSMACRO_MSG",
    "WM_HOOK_KEY_KBMACROSINGLE_MSG",   "WM_HOOK_KEY_KBMACROPREVIOUS_MSG",
    "WM_HOOK_KEY_KBMACROLATER_MSG",    "WM_HOOK_MOU_SINGLEKEY_MSG",
    "WM_HOOK_MOU_HITKEY_MSG",          "WM_HOOK_MOU_KBMACRO_MSG",
    "WM_HOOK_MOU_MSMACRO_MSG",         "WM_HOOK_KEY_MSMACROSINGLE_MSG",
    "WM_HOOK_KEY_MSMACROPREVIOUS_MSG", "WM_HOOK_KEY_MSMACROLATER_MSG"};

// The original block registers "UWM_MOUSERBUTTONDOWN_USER_MSG" twice; a name maps to one id, so
// listing it once gives the same table.
const char* const kMouseMessageNames[5] = {
    "UWM_MOUSERBUTTONDOWN_USER_MSG", "UWM_MOUSELBUTTONUP_USER_MSG", "UWM_MOUSELBUTTONDOWN_USER_MSG",
    "UWM_MOUSERBUTTONUP_USER_MSG", "UWM_MOUSEMOVE_USER_MSG"};

const char* const kGameMessageNames[4] = {"Game_Start", "Game_End", "Game_Kill", "Game_Death"};

namespace {
RegisteredMessageTable gTable;
}

const RegisteredMessageTable& Messages() {
    return gTable;
}

void RegisterStaticMessages() {
    gTable.hookMessages.clear();
    gTable.mouseMessages.clear();
    gTable.gameMessages.clear();
    for (const char* n : kHookMessageNames)
        gTable.hookMessages.push_back(platform::RegisterMessage(n));
    for (const char* n : kMouseMessageNames)
        gTable.mouseMessages.push_back(platform::RegisterMessage(n));
    for (const char* n : kGameMessageNames)
        gTable.gameMessages.push_back(platform::RegisterMessage(n));
}

uint32_t RegisterProductIdentityMessage() {
    gTable.productIdentity = platform::RegisterMessage(platform::kProductIdentity);
    return gTable.productIdentity;
}

void RegisterGuidMessages() {
    gTable.lightState = platform::RegisterMessage(kGuidMessageNames[0]);
    gTable.lightAnnounce = platform::RegisterMessage(kGuidMessageNames[1]);
    gTable.lightSet = platform::RegisterMessage(kGuidMessageNames[2]);
    gTable.lightDataQuery = platform::RegisterMessage(kGuidMessageNames[3]);
    gTable.audioCommand = platform::RegisterMessage(kGuidMessageNames[4]);
}

}  // namespace dravik
