// Any bytes as a point-to-point deck and as an area deck: a deck or a
// message, never a crash; a deck that is read always applies to a state.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/Deck.h"
#include "model/RunSetup.h"

namespace {

void Apply(const vx::model::TDeck& deck) {
    auto state = std::make_unique<vx::model::TModelState>();
    vx::model::InitialiseState(*state);
    std::string error;
    if (!vx::model::ApplyDeck(deck, *state, error)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vx::model::TDeck deck;
    std::string error;
    if (vx::model::ReadPointDeck(text, deck, error))
        Apply(deck);
    else if (error.empty())
        std::abort();
    if (vx::model::ReadAreaDeck(text, "fuzz/deck.voa", deck, error))
        Apply(deck);
    else if (error.empty())
        std::abort();
    return 0;
}
