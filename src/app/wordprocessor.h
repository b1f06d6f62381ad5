// Whether a word processor is there to convert documents: looked for once a
// day at most, the result kept in the options ("LastDetWord" the date of the
// last look, "LastDetWordN" its result).
#pragma once

#include <functional>
#include <string>

namespace tarn::platform {
class Registry;
}

namespace tarn::app {

// Runs the probe unless it already ran today (then the stored result
// counts, 1 when none is stored). The probe answers 1 when a word processor
// was found, 0 when not. Answers whether one is available.
bool DetectWordProcessor(platform::Registry& registry, const std::string& today, const std::function<int()>& probe);

}  // namespace tarn::app
