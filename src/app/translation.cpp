#include "translation.h"

#include "system/datalocation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

void Translation::install(const QString& code)
{
    QCoreApplication::removeTranslator(&m_qtTranslator);
    QCoreApplication::removeTranslator(&m_appTranslator);

    // A failed load leaves the translator empty: the source texts show.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString qtTranslations = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    (void)m_qtTranslator.load(QStringLiteral("qt_") + code, qtTranslations);
    QCoreApplication::installTranslator(&m_qtTranslator);
    // Looked up file by file: running from the source folder, the working
    // directory holds Translations/ with the catalogue but the compiled .qm
    // files sit in the build tree, beside the executable.
    (void)m_appTranslator.load(locateDataFile(QStringLiteral("Translations/%1.qm").arg(code)));
    QCoreApplication::installTranslator(&m_appTranslator);
}

QString Translation::systemLanguage()
{
    return QLocale::system().name().section(QLatin1Char('_'), 0, 0);
}

QStringList Translation::languages()
{
    return { QStringLiteral("en"), QStringLiteral("fr") };
}
