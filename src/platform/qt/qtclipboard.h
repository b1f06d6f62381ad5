// The system clipboard over QClipboard. Private formats travel as bytes
// under their MIME types; plain text is document text (cp1252) on our side
// and Unicode on the system's.
#pragma once

#include <QString>

#include <string>

#include "platform/clipboard.h"

namespace tarn::platform::qt {

class QtClipboard : public Clipboard {
 public:
  void Set(const ClipboardData& data) override;
  ClipboardData Get() override;
};

// Unicode text from other programs as document text: characters that the
// code page lacks become "?" (visibly, never dropped).
std::string TextFromSystem(const QString& text);

}  // namespace tarn::platform::qt
