// Drags onto the viewers: a list of files is taken as a copy, and a drop does nothing with it, so
// that files dragged past a viewer on their way to the main window are not refused with a
// forbidden-sign cursor.
#pragma once

class QDropEvent;

namespace ksn {

// Accepts the event (copy) when it carries local files and the source offers a copy; else ignores
// it. Works for drag-enter, drag-move and drop events alike.
void acceptFileCopy(QDropEvent* e);

}  // namespace ksn
