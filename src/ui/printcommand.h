#pragma once

#include "shell/outcome.h"

class QPrinter;
class QWidget;

namespace kelvara {

struct Workspace;
struct Platform;
struct Worksheet;

// Print (Ctrl+P): the design's worksheet on a printer, or into a PDF file,
// as chosen in the print dialog. A design that cannot be stitched is
// refused in an error box before the dialog opens. With BACKPLAN the plan is
// stitched, for the figures and again for the page, on a thread of its own
// while the window goes on repainting.
void printWorksheet(Workspace& workspace, const Platform& platform, QWidget* owner);

// The sheet as one page on a printer the dialog has set up. Fine, or why
// the page could not be printed.
Outcome printWorksheetOn(QPrinter& printer, const Worksheet& sheet);

} // namespace kelvara
