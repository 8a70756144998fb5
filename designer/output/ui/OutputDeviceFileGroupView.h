#pragma once
// The "File" group that the file and document-store "General" pages share:
// the same controls with the same ids and limits in both dialogs, and the
// format list's close-up going to the page's handler.

#include "designer/output/ui/OutputDevicePropPageView.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

template <class Page>
QGroupBox* COutputDevicePropPageView::FileGroup(std::function<void()> formatClosedUp, std::vector<int>& tabOrder)
{
    QGroupBox* file = Group(Page::IDC_FILE_GROUP);
    auto* group = new QFormLayout(file);
    group->addRow(Label(Page::IDC_FILE_PATH), Edit(Page::IDC_FILE_PATH, Page::kPathLimit));
    group->addRow(Label(Page::IDC_FILE_NAME), Edit(Page::IDC_FILE_NAME, Page::kFileNameLimit));
    group->addRow(Label(Page::IDC_FILE_FORMAT), DropListWithCloseUp(Page::IDC_FILE_FORMAT, std::move(formatClosedUp)));
    group->addRow(Label(Page::IDC_FILE_EXTENSION), Edit(Page::IDC_FILE_EXTENSION, Page::kExtensionLimit));
    group->addRow(Label(Page::IDC_FILE_CCSID), Edit(Page::IDC_FILE_CCSID, Page::kCcsidLimit));
    group->addRow(Label(Page::IDC_FILE_OWNER), Edit(Page::IDC_FILE_OWNER, Page::kOwnerLimit));
    group->addRow(Label(Page::IDC_FILE_AUTHORIZATION_LIST), Edit(Page::IDC_FILE_AUTHORIZATION_LIST, Page::kOwnerLimit));
    group->addRow(Label(Page::IDC_FILE_PUBLIC_AUTHORITY), DropList(Page::IDC_FILE_PUBLIC_AUTHORITY));
    tabOrder.insert(tabOrder.end(), {Page::IDC_FILE_PATH, Page::IDC_FILE_NAME, Page::IDC_FILE_FORMAT,
                                     Page::IDC_FILE_EXTENSION, Page::IDC_FILE_CCSID, Page::IDC_FILE_OWNER,
                                     Page::IDC_FILE_AUTHORIZATION_LIST, Page::IDC_FILE_PUBLIC_AUTHORITY});
    return file;
}
