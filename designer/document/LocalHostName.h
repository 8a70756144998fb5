#pragma once
// This computer's network name, as the display devices address it.

#include <QString>

#include <optional>

// The canonical name the name service gives for the host name, else the
// host's first address in dotted form, else the plain host name. Looked up
// once per process.
void GetLocalHostName(QString& name);

// Replaces the lookup with a fixed name (tests); nullopt looks up again.
void SetLocalHostNameOverride(std::optional<QString> name);
