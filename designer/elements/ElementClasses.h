#pragma once
// Registration of the element kinds: their serialisable classes, so that an
// archive finds them by the names stored in WVD files, undo snapshots and
// clipboard streams, and the display names of the element types. Called at
// program start, and by tests, before any archive is read.

void RegisterElementClasses();
