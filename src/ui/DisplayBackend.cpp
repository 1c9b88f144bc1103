#include "ui/DisplayBackend.h"

#include <atomic>

namespace dravik::ui {
namespace {

// Windows live in memory only; they are painted on request (RenderToPng) and input comes from
// posted messages (scripts, tests).
class HeadlessBackend final : public DisplayBackend {
  public:
    const char* Name() const override { return "headless"; }
};

HeadlessBackend gHeadless;
std::atomic<DisplayBackend*> gCurrent{&gHeadless};
std::unique_ptr<DisplayBackend> gOwned;

}  // namespace

DisplayBackend& CurrentBackend() {
    return *gCurrent.load(std::memory_order_acquire);
}

void SetDisplayBackend(std::unique_ptr<DisplayBackend> backend) {
    DisplayBackend* next = backend ? backend.get() : &gHeadless;
    gCurrent.store(next, std::memory_order_release);
    gOwned = std::move(backend);  // the previous one goes only after nobody can reach it
}

}  // namespace dravik::ui
