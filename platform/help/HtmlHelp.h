#pragma once
// The help display: the program's help is a folder of HTML pages of our own,
// shown in the desktop's browser through its URL opener. A context id is a
// topic: an element of the help file with the id "topic-<number>".

#include "platform/framework/Types.h"

#include <QString>
#include <QUrl>

#include <functional>

// The commands the designer's help entry point passes on.
constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_DISPLAY_TOC = 0x0001;
constexpr UINT HH_HELP_CONTEXT = 0x000F;

// The commands the framework's help requests carry.
constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_FINDER = 0x000B;

namespace kwvd {

// Opens a URL with the desktop; false when nothing could open it.
using UrlOpener = std::function<bool(const QUrl&)>;

// Installs the opener every URL of the process goes through; an empty one
// puts back the desktop's. Returns the one installed before (empty when it
// was the desktop's).
UrlOpener SetUrlOpener(UrlOpener opener);
bool OpenUrl(const QUrl& url);

// The anchor of a context id in the help pages.
QString HelpTopicAnchor(DWORD contextId);

// Shows the help file: its contents page (HH_DISPLAY_TOC, and HH_DISPLAY_TOPIC
// without a topic), or the topic of a context id (HH_HELP_CONTEXT). False
// when the file or the topic does not exist, for an unknown command, or when
// the desktop could not open it.
bool HtmlHelp(const QString& helpFile, UINT command, DWORD data);

} // namespace kwvd
