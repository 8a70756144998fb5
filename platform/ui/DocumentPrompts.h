#pragma once
// Routes the document base's questions and reports (platform/framework
// Document.h) through Prompts(), whichever service is installed when they
// are asked. Programs call it once at start; tests that check a document's
// prompts call it too.

void InstallDocumentPrompts();
