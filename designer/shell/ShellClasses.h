#pragma once
// Registration of the serialisable classes of the designer program itself.
// Called at program start, and by tests.

void RegisterShellClasses();
