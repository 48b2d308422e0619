#include "document/ksnclass.h"

#include "document/formation.h"
#include "document/messages.h"

#include "document/itemreader.h"

#include "support/mylib.h"
#include "support/paths/bitmapheader.h"

#include <optional>

namespace ksn {

namespace {

// The last error code of a system library call, shown with a trapped error. The reader calls no
// such library on this platform, so there is never one to show.
constexpr int kLastDllError = 0;

int kindFromRatio(float r) {
    if (r < 0.5f) return kKindBellows;
    if (r <= 7.0f) return kKindCar;
    return kKindLong;
}

}  // namespace

// --- CarsClass ---

CarsClass::CarsClass() : records_(kMaxRecords) {}

int CarsClass::Add(const QString& fileName, int kind, const QString& comment) {
    const int found = Sarch(fileName);
    if (found != -1) return found;
    if (count_ >= kMaxRecords) throw OutOfRangeError();
    records_[size_t(count_)] = Record{fileName, kind, comment, {}};
    return count_++;
}

int CarsClass::Sarch(const QString& fileName) const {
    for (int i = 0; i < count_; ++i)
        if (records_[size_t(i)].fileName == fileName) return i;
    return -1;
}

BitmapSize CarsClass::CarHeader(int index) const {
    return index >= 0 && index < count_ ? records_[size_t(index)].header : BitmapSize{};
}

const CarsClass::Record* CarsClass::atCursor(int* index) {
    if (index && *index >= 0) cursor_ = *index;
    if (cursor_ < 0) return nullptr;
    if (index) *index = cursor_;
    if (cursor_ >= kMaxRecords) throw OutOfRangeError();
    return &records_[size_t(cursor_)];
}

namespace {
// A field of the record at the cursor, or the empty text before the first MoveNext.
template <typename Field>
QString fieldAt(const CarsClass::Record* r, Field field) {
    return r ? field(*r) : QString();
}
QString fileNameOf(const CarsClass::Record& r) { return r.fileName; }
QString kindOf(const CarsClass::Record& r) { return QString::number(r.kind); }
QString commentOf(const CarsClass::Record& r) { return r.comment; }
}  // namespace

QString CarsClass::CarFileName() { return fieldAt(atCursor(nullptr), fileNameOf); }
QString CarsClass::CarFileName(int& index) { return fieldAt(atCursor(&index), fileNameOf); }
QString CarsClass::CarKind() { return fieldAt(atCursor(nullptr), kindOf); }
QString CarsClass::CarKind(int& index) { return fieldAt(atCursor(&index), kindOf); }
QString CarsClass::CarComment() { return fieldAt(atCursor(nullptr), commentOf); }
QString CarsClass::CarComment(int& index) { return fieldAt(atCursor(&index), commentOf); }

// --- KSNClass ---

KSNClass::KSNClass(const FileSystem& fs, Modal& modal) : fs_(fs), modal_(modal) { Refresh(); }

int KSNClass::CheckKindFromImage(const QString& fileName) const { return kindOf(readBitmapSize(fs_, fileName)); }

int KSNClass::kindOf(BitmapSize size) {
    // The fields as the header holds them: a top-down car's negative height gives a negative ratio.
    if (size.height == 0) throw DivisionByZeroError();
    // Single precision on purpose: a ratio a hair beyond a boundary in double precision rounds
    // onto it, and the screensaver classifies by the rounded value.
    return kindFromRatio(static_cast<float>(double(size.width) / double(size.height)));
}

int KSNClass::CarIndex(int index) const {
    if (index < 0 || index >= kMaxCars) throw OutOfRangeError();
    return carIndex_[size_t(index)];
}

void KSNClass::GetTrainWidth(int&) const {}

bool KSNClass::WriteKsn() {
    modal_.message(msg::notSupported(), QString(), MsgButtons::Ok, MsgIcon::None);
    return false;
}

void KSNClass::Refresh() {
    carIndex_.fill(-1);
    trainFileName_.clear();
    trainSoundFileName_.clear();
    trainComment_.clear();
    carCount_ = 0;
    locoNum_ = 0;
}

QString KSNClass::ErrorText(int) const { return {}; }

void KSNClass::warn(const QString& text) {
    if (!noErrorMsg_) modal_.message(text, QString(), MsgButtons::Ok, MsgIcon::Exclamation);
}

bool KSNClass::LoadKsn() {
    QString folder;
    std::optional<ItemReader> file;
    try {
        folder = fs_.GetFolderPath(trainFileName_);
        if (!fs_.FolderExists(folder)) {
            warn(msg::folderMissing(ErrorText(20), folder));
            return false;
        }
        if (!fs_.FileExists(trainFileName_)) {
            warn(msg::formationMissing(ErrorText(21), trainFileName_));
            return false;
        }
        ReadResult bytes = fs_.readFile(trainFileName_);
        if (!bytes.ok) throw FileAccessError();
        file.emplace(std::move(bytes.bytes));
        trainComment_ = file->readItem();
        trainSoundFileName_ = file->readItem();
    } catch (const KsnError& e) {
        if (!noErrorMsg_)
            modal_.message(msg::loadError(e.number(), e.description(), kLastDllError), QString(), MsgButtons::Ok,
                           MsgIcon::Critical);
        return false;
    }

    // With one item per line this is the file's line number; with several it counts items.
    int line = 2;
    while (true) {
        modal_.processEvents();
        if (file->atEnd()) return true;
        const CarLine item(file->readItem());
        ++line;
        const QString comment = trimSpaces(item.comment);
        const QString s = fs_.GetFullFileName(folder, item.pathPart);
        // An image met before has been read and classified: trains repeat their middle cars.
        const int known = cars_.Sarch(s);
        int kind = known >= 0 ? cars_.records_[size_t(known)].kind : 0;
        BitmapSize size;
        if (known < 0) {
            // The header is read first and the file looked for only when that fails: one
            // resolution of the path per car instead of two. A file there but unreadable has no height.
            const ReadResult header = s.isEmpty() ? ReadResult{} : fs_.readFile(s, kBitmapHeaderBytes);
            if (!header.ok && !fs_.FileExists(s)) {
                warn(msg::badCar(ErrorText(22), trainFileName_, line, s));
                continue;
            }
            if (header.ok) size = bitmapSize(header.bytes);
            kind = kindOf(size);
        }
        if (noLoadCouplerBellows_ && kind == kKindBellows) continue;
        const int i = cars_.Add(s, kind, comment);
        if (known < 0) cars_.records_[size_t(i)].header = size;
        if (carCount_ >= kMaxCars) throw OutOfRangeError();
        carIndex_[size_t(carCount_)] = i;
        ++carCount_;
    }
}

}  // namespace ksn
