#pragma once
// A new document with the imaging toolkit running, a private folder for
// image files, and stand-in users for the images and resources.

#include "designer/document/DesignerDoc.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "designer/resources/images/ImagingToolkit.h"
#include "platform/framework/File.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace imagetest {

// An element that only has a destination rectangle and notes revalidations.
// With leaveOnRevalidate it leaves its users list from inside the call, as
// an element whose font went away does.
class StandInUser : public CFormElement
{
public:
    explicit StandInUser(CDesignerDoc* doc, kwvd::Rect rect = kwvd::Rect(100, 100, 200, 200))
        : CFormElement(doc), dest(rect)
    {}
    kwvd::Rect GetDestRect() const override { return dest; }
    void Revalidate(int) override
    {
        ++revalidations;
        if (onRevalidate)
            onRevalidate(this);
    }

    kwvd::Rect dest;
    int revalidations = 0;
    std::function<void(StandInUser*)> onRevalidate;
};

// Restores the current folder when it goes.
class CurrentFolderGuard
{
public:
    explicit CurrentFolderGuard(const QString& folder) : m_previous(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~CurrentFolderGuard() { QDir::setCurrent(m_previous); }
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    QString m_previous;
};

class ImageDocEnvironment
{
public:
    ImageDocEnvironment() : toolkit(24)
    {
        doc = std::make_unique<CDesignerDoc>();
        EXPECT_TRUE(doc->OnNewDocument());
        env.prefs.DefaultImageDirectory = QString();
        env.prefs.ImageExportFormat = 1;
        env.prompts->ClearRecorded();
    }

    // A folder below the private one, made when missing.
    QString Folder(const QString& name) const
    {
        QDir(env.folder.path()).mkpath(name);
        return env.folder.filePath(name);
    }

    // A white BMP of that size, depth and resolution (pixels per metre).
    QString WriteImage(const QString& folder, const QString& fileName, int width, int height, int bits = 1,
                       int ppm = 0) const
    {
        const QString path = QDir(folder).filePath(fileName);
        TestBitmap bitmap(width, height, bits, ppm, ppm);
        EXPECT_TRUE(bitmap.WriteBmp(path));
        return path;
    }

    // Texts of the message boxes shown so far.
    QStringList Messages() const
    {
        QStringList texts;
        for (const RecordedPrompt& prompt : env.prompts->Recorded())
            if (prompt.kind == PromptKind::MessageBox)
                texts << prompt.text;
        return texts;
    }

    CPage& OutputPage() const { return *doc->GetOutputPage(); }

    WvdTestEnvironment env;
    ImagingToolkit toolkit;
    std::unique_ptr<CDesignerDoc> doc;
};

// Writes a JVX file at path through write; returns its bytes.
inline Bytes StoreJvxFile(const QString& path, int version, CDesignerDoc* doc,
                          const std::function<void(CJVXArchive&)>& write)
{
    {
        CFile file;
        EXPECT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        CJVXArchive ar(version, CJVXArchive::store, doc, &file);
        write(ar);
        file.Close();
    }
    const ByteVector raw = ReadBytes(path);
    return Bytes(raw.begin(), raw.end());
}

inline QString Text(const Bytes& bytes)
{
    return QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

} // namespace imagetest
