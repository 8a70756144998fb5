#pragma once
// Registration of the serialisable classes of designer/shell. Called at
// program start, and by tests.

void RegisterShellClasses();
