#include "cli/parade.h"

#include "cli/messages.h"
#include "cli/textout.h"
#include "document/ksnclass.h"

#include <QByteArray>
#include <QStringList>

namespace ksn {

int parade(const FileSystem& fs, Modal& modal, const QString& file, const ParadeOptions& options, std::FILE* out,
           std::FILE* err) {
    KSNClass train(fs, modal);
    train.setTrainFileName(file);
    train.setNoLoadCouplerBellows(options.noBellows);
    train.setNoErrorMsg(options.quiet);
    try {
        if (!train.LoadKsn()) return 2;
    } catch (const KsnError& e) {
        // The screensaver stops at this point; there is no train to show.
        writeMessage(err, climsg::errorLine(climsg::readerStopped(file, e.description(), e.number())));
        return 2;
    }

    QString text =
        train.TrainComment() + u'\n' + train.TrainSoundFileName() + u'\n' + QString::number(train.CarCount()) + u'\n';
    CarsClass& cars = train.Cars();
    for (int i = 0; i < cars.Count(); ++i) {
        int index = i;
        text += QString::number(i) + u'\t' + cars.CarKind(index) + u'\t' + cars.CarFileName(index) + u'\t' +
                cars.CarComment(index) + u'\n';
    }
    QStringList indices;
    for (int i = 0; i < train.CarCount(); ++i) indices << QString::number(train.CarIndex(i));
    text += indices.join(u' ') + u'\n';
    writeData(out, text);
    return 0;
}

}  // namespace ksn
