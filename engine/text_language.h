#pragma once

#include <QString>
#include <QTranslator>

// The language of the program's texts, chosen as POSIX programs choose their messages' language:
// the locale is LC_ALL, else LC_MESSAGES, else LANG (unset: C); unless it is C or POSIX, LANGUAGE's
// list comes first. English where English is asked for ("en", "en_US", "en_GB.UTF-8"); German, the
// language the texts are written in, for every other language and for C and POSIX.
//
// An instance installs the translations into the running application for as long as it lives.
class TextLanguage {
public:
    enum class Language { German, English };

    // The language for these values of LANGUAGE, LC_ALL, LC_MESSAGES and LANG (empty: unset).
    static Language choose(const QString &languageList, const QString &lcAll, const QString &lcMessages,
                           const QString &lang);
    // The language the process's environment asks for.
    static Language fromEnvironment();
    // "de" or "en".
    static QString code(Language language);
    // Where the program's translations lie: share/bitglance/translations beside its bin folder.
    static QString translationsDirectory();

    enum class QtTexts { Without, With };
    // Installs the program's translation for the environment's language (German needs none) and,
    // with QtTexts::With, Qt's own (qtbase_de, qtbase_en) for its dialogs and menus. A translation
    // that is not there leaves its texts as written: the program's in German, Qt's in English.
    explicit TextLanguage(QtTexts qtTexts = QtTexts::Without);
    ~TextLanguage();
    TextLanguage(const TextLanguage &) = delete;
    TextLanguage &operator=(const TextLanguage &) = delete;

    Language language() const { return language_; }

private:
    Language language_;
    QTranslator program_;
    QTranslator qt_;
};
