#pragma once
// What the tests of the document-store "General" page share: our fake
// catalogue server with the stores a test gives it, the preferences that
// point at it, and a document's catalogue filled from it as Refresh fills
// it.

#include "designer/document/DesignerDoc.h"
#include "designer/document/XmlHttp.h"
#include "designer/output/OutputDevice.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/catalogue/CatalogueStrings.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "tests/fakes/dorrel/FakeDorrelServer.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class DocStoreCatalogueServer
{
public:
    DocStoreCatalogueServer()
    {
        RegisterCatalogueStrings();
        prefs.DorrelAddress = QString::fromStdString(server->BaseUrl());
        m_previousPrefs = SetPreferences(&prefs);
        // A stopped server answers at once; nothing waits long.
        HttpLimits limits;
        limits.connectTimeoutMs = 2000;
        limits.totalTimeoutMs = 5000;
        m_previousLimits = SetHttpLimits(limits);
    }
    ~DocStoreCatalogueServer()
    {
        SetHttpLimits(m_previousLimits);
        SetPreferences(m_previousPrefs);
    }
    DocStoreCatalogueServer(const DocStoreCatalogueServer&) = delete;
    DocStoreCatalogueServer& operator=(const DocStoreCatalogueServer&) = delete;

    // A store with its document types, each a name and a description.
    void Serve(const std::string& name, const std::string& description,
               const std::vector<std::pair<std::string, std::string>>& docTypes)
    {
        std::string details = "<documentTypes>";
        int id = 1;
        for (const auto& [typeName, typeDescription] : docTypes)
            details += "<documentType><id>" + std::to_string(id++) + "</id><name>"
                       + fakes::FakeDorrelServer::EscapeXml(typeName) + "</name><description>"
                       + fakes::FakeDorrelServer::EscapeXml(typeDescription) + "</description></documentType>";
        details += "</documentTypes>";
        server->AddStore({name, description, "DOCLIB", details});
    }

    // Nobody listens on the port any more.
    void Stop() { server.reset(); }

    std::unique_ptr<fakes::FakeDorrelServer> server = std::make_unique<fakes::FakeDorrelServer>();
    CPreferences prefs;
    CDesignerDoc doc;
    CDocStoreManager catalogue{&doc};

private:
    CPreferences* m_previousPrefs = nullptr;
    HttpLimits m_previousLimits;
};

// The store and document type the device files under.
inline QStringList StoredDocStoreSelection(const COutputDevice& device)
{
    QString store, docType;
    device.GetDocStoreSelection(store, docType);
    return {store, docType};
}
