#pragma once

#include "core/report/RichText.h"

#include <QFont>
#include <QTextFormat>

class QTextDocument;

namespace pluvane::gui {

// The report's one face, at the document model's default size: a sans-serif face with Arial's
// widths (the face the saved RTF names) where one is installed, else DejaVu Sans.
QFont ReportFont();

// The units of a QTextDocument's layout (block margins, tab positions) are pixels at Qt's
// default dpi, the primary screen's logical dpi (96 when there is no screen). Twips to those
// units, and back rounded to whole twips.
qreal LayoutDpi();
qreal TwipsToLayoutUnits(int twips);
int LayoutUnitsToTwips(qreal units);

// The block property that marks a paragraph to keep with the next on a page (bool).
constexpr int KeepWithNextProperty = QTextFormat::UserProperty + 1;

// The page furniture (running header, page footer) a document is printed with; it is kept on
// the QTextDocument object, so that it lasts through edits of the text.
void SetPageFurniture(QTextDocument& document, const PageFurniture& furniture);
PageFurniture PageFurnitureOf(const QTextDocument& document);

// Replaces the contents of `target` by `source`: one block per paragraph, one fragment per run,
// the report face everywhere. Tab stops become left-aligned stops in ascending order, a position
// given twice becoming one stop; a stop at or before the left indent, which no text can reach,
// is left out. Past the last stop, tabs go to every 720 twips. An empty paragraph takes the
// character format in force where it was written, so blank lines keep their height. A hanging
// indent becomes the block's margin with a negative first-line indent; keep-with-next the block
// property above; the page furniture goes with the document. The undo history is cleared.
void ToTextDocument(const RichDocument& source, QTextDocument& target);

// The document model of a (possibly edited) QTextDocument: per block its margins, tab stops and
// fragments. Adjacent fragments that differ only in what the model does not carry (face,
// background, ...) become one run; a line separator (Shift+Enter) ends the paragraph; images
// and other objects are left out. An unset colour is black, an unset size the default font's.
RichDocument FromTextDocument(const QTextDocument& source);
// The same for the characters from position `from` up to `to` (a selection): paragraphs cut
// at either end keep their indents and tab stops.
RichDocument FromTextDocument(const QTextDocument& source, int from, int to);

} // namespace pluvane::gui
