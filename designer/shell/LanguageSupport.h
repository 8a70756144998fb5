#pragma once
// The user-interface language: chosen at start-up from the stored choice and
// the user's and the machine's locales, switched from the "&Language" menu.
// A language other than the program's own comes from a language bundle
// (KWVDDesigner<LLL>.lang, LLL its abbreviation) in the program's folder or
// in ../share/kwvd-designer/languages beside it; the loaded bundle is the
// string table's source for the whole program until another language
// replaces it or this object goes, which puts back the built-in texts.

#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class LanguageBundle;
class QMenu;

class LanguageSupport
{
public:
    static constexpr WORD kProgramLanguage = 0x0809;
    static constexpr UINT kFirstLanguageCommand = 28416;
    static constexpr int kMaxLanguageCommands = 256;

    // Where the choice looks; tests replace parts.
    struct Environment
    {
        // The program file; empty: the running program's.
        QString programPath;
        // An environment variable; unset: the process's.
        std::function<QString(const char* name)> variable;
        // The files naming the machine's locale ("LANG=..."), in order;
        // empty: /etc/default/locale, then /etc/locale.conf.
        QStringList machineLocaleFiles;
    };

    LanguageSupport();
    explicit LanguageSupport(Environment environment);
    ~LanguageSupport();

    LanguageSupport(const LanguageSupport&) = delete;
    LanguageSupport& operator=(const LanguageSupport&) = delete;

    // Replaces the surroundings; the loaded bundle stays until the next
    // choice.
    void SetEnvironment(Environment environment);

    const WORD ProgramLanguage = kProgramLanguage;
    WORD CurrentLanguage = kProgramLanguage;
    // Filled each time the menu is built.
    std::vector<WORD> AvailableLanguages;
    UINT CurrentLanguageCommand = 0;

    // Tries the candidates in order and keeps the first that loads: the
    // stored "LanguageId", the first entry of LANGUAGE, the machine's
    // locale, the process's message locale, the machine's locale again and
    // the program's language. TRUE when a bundle was loaded.
    BOOL ChooseLanguage();
    // The language, else its primary language, else that with the default
    // sublanguage.
    BOOL TryLanguage(WORD language);
    // Loads the bundle of CurrentLanguage and makes it the resource source;
    // the program's language frees a loaded one.
    BOOL LoadLanguageLibrary();
    void FreeLanguageLibrary();
    // The program's language, then the language of every bundle found in
    // both folders; neither sorted nor de-duplicated.
    void EnumerateLanguages();
    // Fills the "&Language" submenu: one item per language, its command
    // 28416 + index (data of the action), the current one checked.
    void BuildLanguageMenu(QMenu* popup);
    // Stores the language of the item and chooses again; FALSE when the
    // command names no listed language (nothing is stored then).
    BOOL SelectLanguage(UINT command);

    // The machine's locale as a LANGID, 0 without one.
    WORD GetSystemUILanguage() const;
    static WORD GetFileLanguage(const QString& path);
    // Qt's native name of the language, else its English name, else
    // "<id> - ???".
    static QString GetLanguageName(WORD language);

    BOOL HasLanguageLibrary() const { return m_bundle != nullptr; }
    // The ids loads were tried for by the last choice, in order.
    const std::vector<WORD>& TriedLanguages() const { return m_tried; }
    // The two folders bundles are looked for in.
    QStringList BundleFolders() const;

    // Kept for callers of the start-up step.
    WORD GetLanguageId() const { return CurrentLanguage; }

private:
    QString Variable(const char* name) const;
    WORD StoredLanguage() const;

    Environment m_env;
    std::shared_ptr<LanguageBundle> m_bundle;
    std::vector<WORD> m_tried;
};
