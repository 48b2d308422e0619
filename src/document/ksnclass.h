// A formation as the screensaver sees it: the train's title and sound, and its cars as indices into
// a collection of distinct car images, each image classified by its proportions.
//
// This reading differs from the editor's on purpose, because it must show what the screensaver
// will draw, not what the editor will save: items end at commas (a title holding a comma is cut
// there), comments are trimmed and paths are not, bare car names resolve against the formation's
// own folder, only the end of the file ends the cars, and at most 101 cars and 1001 distinct images
// are kept. Going beyond either limit, or meeting an image of height 0, throws a KsnError from the
// car loop, where the screensaver itself fails; callers decide what to make of it.
#pragma once

#include "document/ksnerror.h"
#include "support/paths/bitmapheader.h"
#include "support/paths/filesystem.h"
#include "support/ui/modal.h"

#include <QString>
#include <QVariant>

#include <array>
#include <vector>

namespace ksn {

// Image kinds, by the ratio width / height.
inline constexpr int kKindBellows = 0;  // below 0.5: a coupler bellows piece between two cars
inline constexpr int kKindCar = 1;      // 0.5 to 7.0 inclusive: an ordinary car
inline constexpr int kKindLong = 2;     // above 7.0

// The distinct car images of a train, in the order first met. Records are never removed.
class CarsClass {
public:
    static constexpr int kMaxRecords = 1001;

    CarsClass();

    // The index of fileName's record, storing the record first when the name is new; a name
    // already stored keeps the kind and comment it was first stored with. Throws OutOfRangeError
    // when a new name would be the 1002nd.
    int Add(const QString& fileName, int kind, const QString& comment);

    // The getters below read the record at the cursor. Given an index of 0 or more they move the
    // cursor there first; given a negative one they leave the cursor and write it back into the
    // index. Without an index they read at the cursor. A negative cursor gives the empty text; a
    // cursor above the last record throws OutOfRangeError. Records at or beyond Count are read as
    // they are: empty texts and kind "0".
    QString CarFileName();
    QString CarFileName(int& index);
    // The kind as decimal digits ("1").
    QString CarKind();
    QString CarKind(int& index);
    QString CarComment();
    QString CarComment(int& index);

    // The cursor.
    int Index() const { return cursor_; }
    void setIndex(int index) { cursor_ = index; }

    int Count() const { return count_; }

    // The first record whose file name equals fileName exactly (case counts), or -1.
    int Sarch(const QString& fileName) const;

    // One stored image.
    struct Record {
        QString fileName;
        int kind = 0;
        QString comment;
        BitmapSize header;  // the image's size as its header gave it when the record was made
    };

    // The header size of record index (zero outside the records): readers that draw the train
    // next lay it out without reading the headers again.
    BitmapSize CarHeader(int index) const;

private:
    friend class KSNClass;

    // The record at the cursor after the index rules above; nullptr for a negative cursor.
    const Record* atCursor(int* index);

    std::vector<Record> records_;  // always kMaxRecords entries
    int count_ = 0;
    int cursor_ = 0;
};

class KSNClass {
public:
    static constexpr int kMaxCars = 101;

    // fs resolves and tests paths and reads the image sizes, modal shows the load messages and
    // lets pending events run while the cars are read.
    KSNClass(const FileSystem& fs, Modal& modal);
    KSNClass(const KSNClass&) = delete;
    KSNClass& operator=(const KSNClass&) = delete;

    // When set, LoadKsn shows no message.
    bool NoErrorMsg() const { return noErrorMsg_; }
    void setNoErrorMsg(bool on) { noErrorMsg_ = on; }

    // The number of locomotives: kept for whoever sets it; Refresh clears it.
    int LocoNum() const { return locoNum_; }
    void setLocoNum(int n) { locoNum_ = n; }

    // The kind of the image at fileName by its width / height, the ratio taken in single
    // precision. A missing image has width and height 0. Throws DivisionByZeroError for a height
    // of 0.
    int CheckKindFromImage(const QString& fileName) const;

    // When set, LoadKsn leaves out images of the bellows kind: neither stored nor counted.
    bool NoLoadCouplerBellows() const { return noLoadCouplerBellows_; }
    void setNoLoadCouplerBellows(bool on) { noLoadCouplerBellows_ = on; }

    // The collection index of car `index` (0 to 100) of the train; -1 for a car not loaded.
    // Throws OutOfRangeError for any other index.
    int CarIndex(int index) const;
    int CarCount() const { return carCount_; }

    // The train's width at a given height. The model keeps no drawing state, so there is nothing
    // to measure and height is left as it is.
    void GetTrainWidth(int& height) const;

    // Writing formations is the editor's business: says so and returns false.
    bool WriteKsn();

    // Clears the train (car index table, file names, title, car count, LocoNum). The collection
    // and both switches are kept.
    void Refresh();

    // Reads TrainFileName into the train. False, with a message unless NoErrorMsg, when its folder
    // or the file is missing or the title and sound cannot be read. A missing car image is
    // reported and skipped. Does not clear the train first: call Refresh between two files.
    // Errors of the car loop (OutOfRangeError, DivisionByZeroError) reach the caller.
    bool LoadKsn();

    QString TrainComment() const { return trainComment_; }
    void setTrainComment(const QString& s) { trainComment_ = s; }
    QString TrainSoundFileName() const { return trainSoundFileName_; }
    void setTrainSoundFileName(const QString& s) { trainSoundFileName_ = s; }
    QString TrainFileName() const { return trainFileName_; }
    void setTrainFileName(const QString& s) { trainFileName_ = s; }

    // Always 0, as an int variant.
    QVariant ClassDebugID() const { return QVariant(debugId_); }

    // The distinct images of the train.
    CarsClass& Cars() { return cars_; }

private:
    // The kind for a header's size, as CheckKindFromImage gives it.
    static int kindOf(BitmapSize size);
    // The first line of a load message for code 20 (folder), 21 (file) or 22 (car). The messages
    // name what is missing on the lines after it, which say enough, so the line stays empty.
    QString ErrorText(int code) const;
    void warn(const QString& text);

    const FileSystem& fs_;
    Modal& modal_;

    CarsClass cars_;
    int debugId_ = 0;
    QString trainFileName_;
    QString trainSoundFileName_;
    QString trainComment_;
    bool noLoadCouplerBellows_ = false;
    std::array<int, kMaxCars> carIndex_{};
    int carCount_ = 0;
    int locoNum_ = 0;
    bool noErrorMsg_ = false;
};

}  // namespace ksn
