#pragma once
// Registration of the serialisable classes of designer/resources, so that an
// archive can find them by the names stored in WVD files, undo snapshots and
// clipboard streams. Called at program start, and by tests, before any
// archive is read.

void RegisterResourceClasses();
