#include "engine/text_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace {

// The language part of a locale name: "en" of "en_GB.UTF-8" or "en@euro".
QString languagePart(const QString &locale)
{
    qsizetype end = 0;
    while (end < locale.size() && locale[end] != u'_' && locale[end] != u'.' && locale[end] != u'@')
        ++end;
    return locale.left(end);
}

bool isCLocale(const QString &locale)
{
    return locale.isEmpty() || locale == u"POSIX" || languagePart(locale) == u"C";
}

TextLanguage::Language languageOf(const QString &locale)
{
    return languagePart(locale) == u"en" ? TextLanguage::Language::English : TextLanguage::Language::German;
}

} // namespace

TextLanguage::Language TextLanguage::choose(const QString &languageList, const QString &lcAll,
                                            const QString &lcMessages, const QString &lang)
{
    const QString locale = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
    if (isCLocale(locale))
        return Language::German;
    // The first language of the list that the program speaks; one it does not speak is passed over.
    for (const QString &entry : languageList.split(u':', Qt::SkipEmptyParts)) {
        const QString part = languagePart(entry);
        if (part == u"en")
            return Language::English;
        if (part == u"de")
            return Language::German;
    }
    return languageList.isEmpty() ? languageOf(locale) : Language::German;
}

TextLanguage::Language TextLanguage::fromEnvironment()
{
    const auto variable = [](const char *name) { return QString::fromLocal8Bit(qgetenv(name)); };
    return choose(variable("LANGUAGE"), variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG"));
}

QString TextLanguage::code(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("de");
}

QString TextLanguage::translationsDirectory()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../share/bitglance/translations");
}

TextLanguage::TextLanguage(QtTexts qtTexts) : language_(fromEnvironment())
{
    if (language_ != Language::German
        && program_.load(QStringLiteral("bitglance_") + code(language_), translationsDirectory()))
        QCoreApplication::installTranslator(&program_);
    if (qtTexts == QtTexts::With
        && qt_.load(QStringLiteral("qtbase_") + code(language_), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_);
}

TextLanguage::~TextLanguage()
{
    QCoreApplication::removeTranslator(&qt_);
    QCoreApplication::removeTranslator(&program_);
}
