#include "cli/parade.h"

#include "cli/messages.h"
#include "document/ksnclass.h"

#include <QByteArray>
#include <QStringList>

namespace ksn {

namespace {

void write(std::FILE* f, const QString& s) {
    const QByteArray b = s.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), f);
}

}  // namespace

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
        write(err, climsg::errorLine(climsg::readerStopped(file, e.description(), e.number())));
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
    write(out, text);
    return 0;
}

}  // namespace ksn
