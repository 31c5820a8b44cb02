#pragma once
// The open documents of the PostScript and PDF writers. The writers of the further-formats
// library fill them page by page; TZezudIdIO may hold one of each until its closer finishes it,
// so the records live in this library, below both.
#include <vector>

#include "imaging/core/iepdf.h"
#include "platform/system/Types.h"

// A PostScript document being written: the page count lives only in the file's fixed-width
// "%%Pages: " line, so the state keeps where that line is and where the next page goes.
struct PsDocumentState {
  Int64 PagesLinePosition = 0;
  Int64 EndPosition = 0;
};

// A PDF document assembled in memory until it is written. Objects owns every indirect object
// (object n at index n - 1); the other lists and pointers look into it.
struct PdfDocumentState {
  TIEPDFObjects Objects;
  TIEPDFPages Pages;
  std::vector<TIEPDFStreamObject*> Images;
  std::vector<TIEPDFStreamObject*> Contents;
  TIEPDFDictionaryObject* Resources = nullptr;
  TIEPDFDictionaryObject* Catalog = nullptr;
};
