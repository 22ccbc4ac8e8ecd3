#pragma once

class QPagedPaintDevice;
class QTextDocument;

namespace pluvane::gui {

// The report's page margins in twips, the same for print and PDF.
struct PageMargins {
    int left = 450;
    int top = 360;
    int right = 360;
    int bottom = 360;
};

// Prints the whole document on `device` (a printer, a PDF writer) with the given page margins in
// twips, measured from the edges of the sheet whatever unprintable margin the device has: as many
// pages as the text needs, each filled with the lines that fit, a line never split across two
// pages. The lines of text are what is printed: table borders, list bullets and paragraph
// backgrounds that pasted rich text may bring are not. The document itself is left as it is (a
// copy is laid out on the device). False when the device cannot be opened, a page cannot be
// begun or the margins leave no room; pages already sent stay sent. Paragraphs marked to keep
// with the next (KeepWithNextProperty) go to the next page with it rather than be left at the
// foot of one. A document with page furniture (SetPageFurniture) gets, inside the margins, its
// running header at the top of every page and "Page N of M" with the print date at the foot.
bool PrintRichText(const QTextDocument& document, QPagedPaintDevice& device, int left, int top,
                   int right, int bottom);

inline bool PrintRichText(const QTextDocument& document, QPagedPaintDevice& device,
                          PageMargins margins) {
    return PrintRichText(document, device, margins.left, margins.top, margins.right,
                         margins.bottom);
}

} // namespace pluvane::gui
