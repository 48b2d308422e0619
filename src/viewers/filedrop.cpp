#include "viewers/filedrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace ksn {

void acceptFileCopy(QDropEvent* e) {
    const QMimeData* data = e->mimeData();
    bool files = false;
    if (data && data->hasUrls())
        for (const QUrl& u : data->urls()) files = files || u.isLocalFile();
    if (files && (e->possibleActions() & Qt::CopyAction)) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

}  // namespace ksn
