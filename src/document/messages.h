// Every text the document layer shows to the user, each made by one function: message boxes, input
// prompts, dialog titles and filters, the status and caption texts, and the viewers' texts.
#pragma once

#include <QString>

namespace ksn::msg {

// --- loading, saving and the folder scan ---
QString notFoundTitle();                               // "Not found"
QString notFound(const QString& path);                 // "File= <path>"
QString overLimit(int line, const QString& lastLine);  // more lines than a formation holds
QString invalidBytes(const QString& path);             // bytes that are not code page 932, on load
QString notRewritten(const QString& path);             // the batch leaves such a file alone
QString linkNotRewritten(const QString& path);         // nor a link, which may lead anywhere
QString tooManyFiles(int limit);                       // the folder holds more formations than listed
QString heightMismatchLine(const QString& path, int carNumber);
QString heightMismatch(const QString& report);  // report: heightMismatchLine lines
QString tooManyCars();                          // no room for another car
QString newFormationTitle();                    // the title of "編成の新生"

// --- the main window's texts ---
QString carCount(qsizetype cars);              // status panel: "7両"
QString carPosition(int car, qsizetype cars);  // status panel: "3 / 7両"
QString fileCaption(const QString& fileName);  // "<name> - KSNED32"
QString unsupportedDrop(const QString& path);

// --- dialogs ---
QString formationFilter();
QString openFormationTitle();
QString saveFormationTitle();
QString defaultFolderTitle();
QString carFilter();
QString carFileTitle();
QString soundFilter();
QString soundFileTitle();
QString pathChange();  // the batch rewrite's question
QString pathChangeTitle();
QString titlePrompt();
QString titleInputTitle();
QString commentPrompt(int line, const QString& path);
QString commentInputTitle();
QString deleteComment();
QString soundCommentPrompt();
QString soundCommentTitle();
QString deleteSound();

// --- the viewers ---
QString carNotFound(const QString& path);
QString heightCaption(const QString& name, int height);                        // "<name> ( 40dot )"
QString carToolTip(int car, const QString& baseName, const QString& comment);  // "1 : car1 : front"

// --- the screensaver's reading (ksn parade) ---
QString notSupported();
QString folderMissing(const QString& text, const QString& folder);
QString formationMissing(const QString& text, const QString& file);
QString badCar(const QString& text, const QString& file, int line, const QString& car);
QString loadError(int number, const QString& description, int lastDllError);

}  // namespace ksn::msg
