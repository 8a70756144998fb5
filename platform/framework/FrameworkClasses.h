#pragma once
// Registration of the framework's own serialisable classes, which the
// system's files name: "CObList", "CObArray", "CStringArray", "CWordArray".
// Called at program start, and by tests, before any archive is read.

void RegisterFrameworkClasses();
