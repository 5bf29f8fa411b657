#include "gui/translations.h"

#include <memory>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace nx5rb {

namespace {
// The window speaks Chinese whatever the system's language is, and so must Qt's own dialogs.
constexpr char kLanguage[] = "zh_CN";
} // namespace

bool InstallQtTranslations(QCoreApplication &app)
{
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qt_") + kLanguage, folder))
        return false;
    translator->setParent(&app);
    QCoreApplication::installTranslator(translator.release());
    return true;
}

} // namespace nx5rb
