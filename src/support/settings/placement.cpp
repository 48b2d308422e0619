#include "support/settings/placement.h"

#include "support/product/version.h"
#include "support/text/numtext.h"
#include "support/ui/modal.h"

#include <QSettings>

#include <charconv>

namespace ksn {

QString possitionApplication() { return kProductName; }

QString possitionSection(const QString& windowName) { return windowName + QStringLiteral("Possition"); }

QString possitionText(float value) {
    // Fixed notation keeps large values readable as plain numbers (1000000, not 1e+06), and the
    // shortest form that reads back as the same single-precision value drops spurious digits.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return QString::fromLatin1(buf, r.ptr - buf);
}

namespace {

// One settings object per call: the store is read and written only when a window is placed.
QSettings store() { return QSettings(QSettings::UserScope, possitionApplication(), possitionApplication()); }

QString keyOf(const QString& section, const char* key) { return section + u'/' + QLatin1String(key); }

double readValue(QSettings& s, const QString& section, const char* key, const QString& fallback) {
    return roundHalfEven(leadingNumber(s.value(keyOf(section, key), fallback).toString()));
}

}  // namespace

void SavePossition(const PlacedWindow& form) {
    QSettings s = store();
    const QString section = possitionSection(form.name());
    s.setValue(keyOf(section, "Top"), possitionText(float(form.top())));
    s.setValue(keyOf(section, "Left"), possitionText(float(form.left())));
    s.setValue(keyOf(section, "Height"), possitionText(float(form.height())));
    s.setValue(keyOf(section, "Width"), possitionText(float(form.width())));
    s.sync();
}

void RestorePossition(PlacedWindow& form, double MinWidth, double MinHeight) {
    QSettings s = store();
    const QString section = possitionSection(form.name());

    double top = readValue(s, section, "Top", QStringLiteral("0"));
    if (top < 0) top = 0;
    form.setTop(top);
    double left = readValue(s, section, "Left", QStringLiteral("0"));
    if (left < 0) left = 0;
    form.setLeft(left);

    double width = readValue(s, section, "Width", possitionText(float(form.width())));
    if (width < MinWidth) width = roundHalfEven(MinWidth);
    form.setWidth(width);
    double height = readValue(s, section, "Height", possitionText(float(form.height())));
    if (height < MinHeight) height = roundHalfEven(MinHeight);
    form.setHeight(height);

    // The window may have refused a size of its own accord: the checks use what it took.
    if (form.top() + form.height() > form.screenHeight()) form.setTop(form.screenHeight() - form.height());
    if (form.left() + form.width() > form.screenWidth()) form.setLeft(form.screenWidth() - form.width());
}

}  // namespace ksn
