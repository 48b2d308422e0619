// What a drag must carry to be taken: local files, offered as a copy. The main window takes such a
// drop and loads the files; the viewers take it and do nothing with it, so that files dragged past
// a viewer on their way to the main window are not refused with a forbidden-sign cursor.
#pragma once

class QDropEvent;

namespace ksn {

// Accepts the event (copy) when it carries local files and the source offers a copy; else ignores
// it. Works for drag-enter, drag-move and drop events alike.
void acceptFileCopy(QDropEvent* e);

}  // namespace ksn
