// Whether a word processor is there to convert documents: looked for once a
// day at most, the result kept in the options ("LastDetWord" the date of the
// last look, "LastDetWordN" its result).
#pragma once

#include <functional>
#include <string>

namespace tarn::platform {
class Process;
class Registry;
}  // namespace tarn::platform

namespace tarn::app {

// Runs the probe unless it already ran today (then the stored result
// counts, 1 when none is stored). The probe answers 1 when a word processor
// was found, 0 when not. Answers whether one is available.
bool DetectWordProcessor(platform::Registry& registry, const std::string& today, const std::function<int()>& probe);

// The probe itself: LibreOffice ("soffice", or "libreoffice") found on the
// search path and answering "--version" within the time. 1 when it does,
// 0 when not. whileWaiting keeps a window alive meanwhile.
int ProbeWordProcessor(platform::Process& process, int timeoutMs, const std::function<void()>& whileWaiting = {});

}  // namespace tarn::app
