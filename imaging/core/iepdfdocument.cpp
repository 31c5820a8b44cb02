// The document routines of the PDF object model: numbering, catalog, page tree, pages,
// cross-reference table and trailer.
#include "imaging/core/iepdf.h"
#include "imaging/core/iestreams.h"
#include "imaging/core/ieutilstext.h"
#include "platform/system/Streams.h"

namespace {

std::unique_ptr<TIEPDFRefObject> RefTo(const TIEPDFObject* Object) {
  return std::make_unique<TIEPDFRefObject>(Object->GetNumber(), 0);
}

TIEPDFDictionaryObject* AddDictionary(TIEPDFObjects& Objects, std::string Type) {
  auto Dictionary = std::make_unique<TIEPDFDictionaryObject>();
  Dictionary->SetItem("Type", std::make_unique<TIEPDFNameObject>(std::move(Type)));
  return static_cast<TIEPDFDictionaryObject*>(IEPDFAddObject(Objects, std::move(Dictionary)));
}

}  // namespace

void IEPDFWriteHeader(TStream* Stream) {
  IEWriteLnLF(Stream, "%PDF-1.4");
  // Four bytes above 127 tell transfer programs that the file is binary.
  IEWriteLnLF(Stream, "%\xC8\xD2\xF0\xFE");
}

TIEPDFObject* IEPDFAddObject(TIEPDFObjects& Objects, std::unique_ptr<TIEPDFObject> Object) {
  Objects.push_back(std::move(Object));
  Objects.back()->SetNumber(static_cast<Integer>(Objects.size()));
  return Objects.back().get();
}

TIEPDFDictionaryObject* IEPDFAddCatalog(TIEPDFObjects& Objects) {
  return AddDictionary(Objects, "Catalog");
}

TIEPDFDictionaryObject* IEPDFAddPage(TIEPDFObjects& Objects, TIEPDFPages& Pages,
                                     const TIEPDFObject* Resources,
                                     std::unique_ptr<TIEPDFArrayObject> MediaBox, Integer ContentsNumber) {
  auto Page = std::make_unique<TIEPDFDictionaryObject>();
  Page->SetItem("Type", std::make_unique<TIEPDFNameObject>("Page"));
  if (Resources != nullptr) Page->SetItem("Resources", RefTo(Resources));
  Page->SetItem("MediaBox", std::move(MediaBox));
  Page->SetItem("Contents", std::make_unique<TIEPDFRefObject>(ContentsNumber, 0));
  auto* Added = static_cast<TIEPDFDictionaryObject*>(IEPDFAddObject(Objects, std::move(Page)));
  Pages.push_back(Added);
  return Added;
}

TIEPDFDictionaryObject* IEPDFAddPages(TIEPDFObjects& Objects, TIEPDFPages& Pages) {
  // Added first so that its number is known to the pages.
  TIEPDFDictionaryObject* Tree = AddDictionary(Objects, "Pages");
  auto Kids = std::make_unique<TIEPDFArrayObject>();
  for (TIEPDFDictionaryObject* Page : Pages) {
    Kids->Add(RefTo(Page));
    Page->SetItem("Parent", RefTo(Tree));
  }
  Tree->SetItem("Kids", std::move(Kids));
  Tree->SetItem("Count", std::make_unique<TIEPDFNumericObject>(static_cast<double>(Pages.size())));
  if (auto* Catalog = dynamic_cast<TIEPDFDictionaryObject*>(Objects.front().get()))
    Catalog->SetItem("Pages", RefTo(Tree));
  return Tree;
}

void IEPDFWriteObjects(TStream* Stream, TIEPDFObjects& Objects) {
  for (const std::unique_ptr<TIEPDFObject>& Object : Objects) {
    const Int64 Start = Stream->GetPosition();
    IEWriteLnLF(Stream, IEIntToStr(Object->GetNumber()) + " 0 obj");
    Object->Write(Stream);
    IEWriteLnLF(Stream, "");
    IEWriteLnLF(Stream, "endobj");
    Object->SetOffset(Start);
  }
}

void IEPDFWriteTrailer(TStream* Stream, const TIEPDFObjects& Objects, const TIEPDFDictionaryObject* Info) {
  const Int64 TablePosition = Stream->GetPosition();
  const std::string Size = IEIntToStr(static_cast<Int64>(Objects.size()) + 1);
  IEWriteLnLF(Stream, "xref");
  IEWriteLnLF(Stream, "0 " + Size);
  IEWriteLnLF(Stream, "0000000000 65535 f ");
  for (const std::unique_ptr<TIEPDFObject>& Object : Objects)
    IEWriteLnLF(Stream, IEPadLeft(IEIntToStr(Object->GetOffset()), 10, '0') + " 00000 n ");
  IEWriteLnLF(Stream, "trailer");
  IEWriteLnLF(Stream, "<< /Size " + Size);
  IEWriteLnLF(Stream, "/Root 1 0 R");
  if (Info != nullptr) IEWriteLnLF(Stream, "/Info " + IEIntToStr(Info->GetNumber()) + " 0 R");
  IEWriteLnLF(Stream, ">>");
  IEWriteLnLF(Stream, "startxref");
  IEWriteLnLF(Stream, IEIntToStr(TablePosition));
  IEWriteLnLF(Stream, "%%EOF");
}

std::string IEPadLeft(std::string_view Text, Integer Length, char Character) {
  std::string Out(Text);
  if (static_cast<Integer>(Out.size()) < Length) Out.insert(0, Length - Out.size(), Character);
  return Out;
}
