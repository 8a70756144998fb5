#include "designer/shell/LanguageSupport.h"

#include "designer/shell/LanguageIds.h"
#include "designer/shell/LayoutSlots.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/LanguageBundle.h"
#include "platform/ui/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace {

const QString kLanguageIdValue = QStringLiteral("LanguageId");
const QString kBundlePrefix = QStringLiteral("KWVDDesigner");
const QString kBundleSuffix = QStringLiteral(".lang");
const QString kSharedFolder = QStringLiteral("../share/kwvd-designer/languages");

// The value of LANG in a file of shell assignments ("LANG=de_DE.UTF-8",
// maybe quoted); empty when the file has none.
QString LangOfLocaleFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString lang;
    // Such a file is a handful of lines; anything longer is not one.
    for (int lines = 0; lines < 256 && !file.atEnd(); ++lines) {
        const QString line = QString::fromUtf8(file.readLine(1024)).trimmed();
        if (!line.startsWith(QStringLiteral("LANG=")))
            continue;
        QString value = line.mid(5).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        lang = value;
    }
    return lang;
}

} // namespace

LanguageSupport::LanguageSupport() : LanguageSupport(Environment{}) {}

LanguageSupport::LanguageSupport(Environment environment) : m_env(std::move(environment)) {}

LanguageSupport::~LanguageSupport()
{
    FreeLanguageLibrary();
}

void LanguageSupport::SetEnvironment(Environment environment)
{
    m_env = std::move(environment);
}

QString LanguageSupport::Variable(const char* name) const
{
    return m_env.variable ? m_env.variable(name) : qEnvironmentVariable(name);
}

WORD LanguageSupport::StoredLanguage() const
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const auto key = store.OpenKey(HKEY_CURRENT_USER, DesignerKeyPath());
    if (!key)
        return 0;
    // A LANGID is 16 bits; a larger stored number names no language.
    const std::uint32_t value = store.ReadNumber(*key, kLanguageIdValue).value_or(0);
    return value <= 0xFFFF ? WORD(value) : WORD(0);
}

WORD LanguageSupport::GetSystemUILanguage() const
{
    const QStringList files = m_env.machineLocaleFiles.isEmpty() ? QStringList{QStringLiteral("/etc/default/locale"),
                                                                               QStringLiteral("/etc/locale.conf")}
                                                                 : m_env.machineLocaleFiles;
    for (const QString& file : files) {
        const QString lang = LangOfLocaleFile(file);
        if (!lang.isEmpty())
            return LanguageIdFromLocaleName(lang);
    }
    return 0;
}

BOOL LanguageSupport::ChooseLanguage()
{
    m_tried.clear();
    const QString language = Variable("LANGUAGE");
    QString process = Variable("LC_ALL");
    if (process.isEmpty())
        process = Variable("LC_MESSAGES");
    if (process.isEmpty())
        process = Variable("LANG");

    const WORD machine = GetSystemUILanguage();
    const WORD candidates[] = {
        StoredLanguage(), language.isEmpty() ? WORD(0) : LanguageIdFromLocaleName(language.section(u':', 0, 0)),
        machine,          LanguageIdFromLocaleName(process),
        machine,
    };
    for (WORD candidate : candidates) {
        CurrentLanguage = candidate;
        if (TryLanguage(candidate))
            return HasLanguageLibrary();
    }
    // The program's own texts are always there.
    CurrentLanguage = ProgramLanguage;
    TryLanguage(ProgramLanguage);
    return HasLanguageLibrary();
}

BOOL LanguageSupport::TryLanguage(WORD language)
{
    if (language == 0)
        return FALSE;
    CurrentLanguage = language;
    if (LoadLanguageLibrary())
        return TRUE;
    if (language >= 0x0400) {
        CurrentLanguage = PrimaryLanguage(language);
        if (LoadLanguageLibrary())
            return TRUE;
    }
    if (SubLanguage(language) == 1)
        return FALSE;
    CurrentLanguage = WORD(PrimaryLanguage(language) | 0x0400);
    return LoadLanguageLibrary();
}

QStringList LanguageSupport::BundleFolders() const
{
    const QString program = m_env.programPath.isEmpty() ? QCoreApplication::applicationFilePath() : m_env.programPath;
    const QString folder = QFileInfo(program).absolutePath();
    return {folder, QDir::cleanPath(folder + u'/' + kSharedFolder)};
}

BOOL LanguageSupport::LoadLanguageLibrary()
{
    m_tried.push_back(CurrentLanguage);
    if (CurrentLanguage == ProgramLanguage) {
        FreeLanguageLibrary();
        return TRUE;
    }
    const QString abbreviation = LanguageAbbreviation(CurrentLanguage);
    if (abbreviation.isEmpty())
        return FALSE;
    for (const QString& folder : BundleFolders()) {
        const QString path = folder + u'/' + kBundlePrefix + abbreviation + kBundleSuffix;
        if (!QFileInfo(path).isFile())
            continue;
        QString error;
        std::shared_ptr<LanguageBundle> bundle = LanguageBundle::Load(path, &error);
        if (!bundle) {
            qWarning("language bundle %s not loaded: %s", qPrintable(path), qPrintable(error));
            continue;
        }
        FreeLanguageLibrary();
        m_bundle = std::move(bundle);
        StringTable::SetSource(m_bundle);
        // In use is the bundle's own language (German for a neutral German
        // id), the one the menu lists it under.
        CurrentLanguage = m_bundle->Language();
        return TRUE;
    }
    return FALSE;
}

void LanguageSupport::FreeLanguageLibrary()
{
    if (!m_bundle)
        return;
    // Another source installed since is not ours to remove.
    if (StringTable::GetSource() == m_bundle)
        StringTable::SetSource(nullptr);
    m_bundle.reset();
}

WORD LanguageSupport::GetFileLanguage(const QString& path)
{
    return LanguageBundle::ReadFileLanguage(path);
}

void LanguageSupport::EnumerateLanguages()
{
    AvailableLanguages.clear();
    if (ProgramLanguage != 0)
        AvailableLanguages.push_back(ProgramLanguage);
    const QStringList pattern{kBundlePrefix + QStringLiteral("???") + kBundleSuffix};
    for (const QString& folder : BundleFolders()) {
        const QDir dir(folder, QString(), QDir::Name, QDir::Files | QDir::CaseSensitive);
        for (const QString& name : dir.entryList(pattern)) {
            if (const WORD language = GetFileLanguage(dir.filePath(name)))
                AvailableLanguages.push_back(language);
        }
    }
}

QString LanguageSupport::GetLanguageName(WORD language)
{
    if (const LanguageIdRow* row = FindLanguageRow(language)) {
        const QLocale locale(row->language, row->territory);
        const QString native = locale.nativeLanguageName();
        if (!native.isEmpty())
            return native;
        const QString english = QLocale::languageToString(row->language);
        if (!english.isEmpty())
            return english;
    }
    return QStringLiteral("%1 - ???").arg(language);
}

void LanguageSupport::BuildLanguageMenu(QMenu* popup)
{
    EnumerateLanguages();
    CurrentLanguageCommand = 0;
    if (popup)
        popup->clear();
    const int count = std::min<int>(int(AvailableLanguages.size()), kMaxLanguageCommands);
    for (int index = 0; index < count; ++index) {
        const WORD language = AvailableLanguages[size_t(index)];
        const UINT command = kFirstLanguageCommand + UINT(index);
        if (CurrentLanguageCommand == 0 && language == CurrentLanguage)
            CurrentLanguageCommand = command;
        if (!popup)
            continue;
        QAction* item = popup->addAction(GetLanguageName(language));
        item->setObjectName(QStringLiteral("Command-%1").arg(command));
        item->setData(command);
        item->setCheckable(true);
        item->setChecked(command == CurrentLanguageCommand);
    }
}

BOOL LanguageSupport::SelectLanguage(UINT command)
{
    if (command < kFirstLanguageCommand)
        return FALSE;
    const size_t index = command - kFirstLanguageCommand;
    if (index >= AvailableLanguages.size() || index >= size_t(kMaxLanguageCommands))
        return FALSE;
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    if (const auto key = store.CreateKey(HKEY_CURRENT_USER, DesignerKeyPath()))
        store.WriteValue(*key, kLanguageIdValue, kwvd::RegistryValue::Number(AvailableLanguages[index]));
    ChooseLanguage();
    return TRUE;
}
