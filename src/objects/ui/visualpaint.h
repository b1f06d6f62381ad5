// Drawing the objects placed in a page with a QPainter: pictures (bitmaps
// shown without a copy, metafiles through Qt SVG, a framed box with the
// picture's name when nothing can be shown), marker glyphs, form controls
// and floating frames. The screen objects paint with it, and so does
// `tarn-cli render`, which has no widgets.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <memory>
#include <string_view>
#include <vector>

class QPainter;

namespace tarn::document {
class TAEHoggetto;
class TAEHpicture;
class TAEHset;
}  // namespace tarn::document
namespace tarn::richtext {
class RichText;
}

namespace tarn::objects {

// The picture's pixels as an image that shares the picture's memory; it is
// valid while the picture is.
QImage SharedImage(const document::TAEHpicture& picture);
// Stretches the picture into the rectangle; false when it has nothing to
// show (then the caller draws the placeholder).
bool PaintPicture(QPainter& painter, const QRect& rect, const document::TAEHpicture& picture);
// A framed box with a name: what a picture that cannot be shown leaves.
void PaintPlaceholder(QPainter& painter, const QRect& rect, const QString& name);
// One of the program's marker glyphs ("ancora", "notepad", ...), drawn at
// 18 x 18 from the rectangle's corner; an unknown name draws a grey square.
void PaintGlyph(QPainter& painter, const QRect& rect, std::string_view name);
// A form control as it looks on a page that is not being edited.
void PaintControl(QPainter& painter, const QRect& rect, document::TAEHoggetto& record);
// The page (by index) laid out at the rectangle's width and drawn into it,
// read-only; nested floating frames are drawn to a few levels.
void PaintPageInto(QPainter& painter, const QRect& rect, document::TAEHset& set, int page);
// Any object record at its rectangle, as a read-only page shows it; edit
// mode adds the glyphs of markers.
void PaintRecord(QPainter& painter, const QRect& rect, document::TAEHoggetto& record, bool editMode);
// Gives the plain objects of a text read without screen objects their
// screen sizes (percent sizes against the width), before it is laid out.
// Answers the pictures they show, to be held while the text is drawn: a
// text with more distinct pictures than the hypertext's cache keeps then
// decodes each of them once.
using PictureHolds = std::vector<std::shared_ptr<document::TAEHpicture>>;
[[nodiscard]] PictureHolds SizePlacedObjects(richtext::RichText& text, int width);
// Every object placed in the text, at the places its layout gave them.
void PaintPlacedObjects(QPainter& painter, richtext::RichText& text, bool editMode);

}  // namespace tarn::objects
