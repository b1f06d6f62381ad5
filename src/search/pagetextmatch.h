// The text search with operators over a page as it is stored: the page's
// markup read as plain text through the shared tokenizer (tags, escapes and
// reserved blocks never match, a word split by format tags does), then the
// words of "(A and B) or (C and D)" looked for in it. Also the replacement
// of a word in a stored page, for the batch tools.
#pragma once

#include <string>
#include <string_view>

#include "search/searchoptions.h"

namespace tarn::document {
class TAEHoggetto;
}

namespace tarn::search {

// The plain text of stored markup: the characters between tags, a paragraph
// tag as CR LF, entities as the characters they stand for, reserved blocks
// left out. With lower the text is put in lower case (cp1252). The older
// markup generation is read by skipping every tag up to its ">".
std::string MarkupPlainText(std::string_view markup, bool lower, bool olderGeneration = false);

// The plain text of a page record (empty for a page without content).
std::string PagePlainText(const document::TAEHoggetto& page, bool lower);

// The word that matches, A or C (lower-cased unless the options ask for
// case), or empty. Occurring is a plain substring test: whole words do not
// apply here, as the window's list of pages is a first sifting.
std::string PageTextMatch(const document::TAEHoggetto& page, std::string_view a, std::string_view b,
                          std::string_view c, std::string_view d, int options);
// The same over plain text already read (lower-cased unless case counts).
std::string TextMatch(std::string_view plain, WordCriteria words, int options);

// Replaces every occurrence of word by replacement in the text runs of the
// markup (an occurrence split by a tag or an entity is left alone, as it
// cannot be replaced without losing the format between its parts). The
// replacement is escaped for the markup. Answers the number replaced.
int ReplaceInMarkup(std::string& markup, std::string_view word, std::string_view replacement, int options);

}  // namespace tarn::search
