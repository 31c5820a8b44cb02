// The compression dialog of the AVI file library: a form listing the installed compressors.
#include <algorithm>
#include <cstdlib>

#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/classes/StdCtrls.h"
#include "platform/media/AviCompressors.h"
#include "platform/media/AviFile.h"
#include "platform/system/Strings.h"

namespace {

// Controls: CompressorBox (the compressors' descriptions), OkButton, CancelButton.
class TAviSaveOptionsForm : public TForm {
 public:
  TAviSaveOptionsForm(TComponent* AOwner, FOURCC Current) : TForm(AOwner) {
    SetCaption("Video Compression");
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetPosition(poScreenCenter);
    SetClientWidth(330);
    SetClientHeight(72);
    auto* Caption = new TLabel(this);
    Caption->SetName("CompressorLabel");
    Caption->SetParent(this);
    Caption->SetCaption("&Compressor:");
    Caption->SetBounds(8, 8, 220, 13);
    FCompressorBox = new TComboBox(this);
    FCompressorBox->SetName("CompressorBox");
    FCompressorBox->SetParent(this);
    FCompressorBox->SetStyle(csDropDownList);
    FCompressorBox->SetBounds(8, 26, 234, 21);
    const std::vector<TAviCompressor>& List = AviInstalledCompressors();
    Integer Selected = 0;
    for (std::size_t I = 0; I < List.size(); ++I) {
      FCompressorBox->GetItems()->Add(Utf16ToUtf8(List[I].Description));
      FHandlers.push_back(List[I].Handler);
      if (List[I].Handler == Current) Selected = static_cast<Integer>(I);
    }
    if (!List.empty()) FCompressorBox->SetItemIndex(Selected);
    auto* Ok = new TButton(this);
    Ok->SetName("OkButton");
    Ok->SetParent(this);
    Ok->SetCaption("OK");
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Ok->SetEnabled(!List.empty());
    Ok->SetBounds(250, 8, 72, 25);
    auto* Cancel = new TButton(this);
    Cancel->SetName("CancelButton");
    Cancel->SetParent(this);
    Cancel->SetCaption("Cancel");
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    Cancel->SetBounds(250, 40, 72, 25);
  }

  // The chosen compressor's code; 0 when none is chosen.
  FOURCC Chosen() const {
    const Integer Index = FCompressorBox->GetItemIndex();
    return Index >= 0 && Index < static_cast<Integer>(FHandlers.size()) ? FHandlers[Index] : 0;
  }

 private:
  TComboBox* FCompressorBox;
  std::vector<FOURCC> FHandlers;
};

}  // namespace

BOOL AVISaveOptions(HWND, UINT, Integer Count, PAVISTREAM*, AVICOMPRESSOPTIONS** Options) {
  if (Count < 1 || !Options || !Options[0]) return FALSE;
  // One choice serves every stream: the library writes video streams only.
  auto Form = std::make_unique<TAviSaveOptionsForm>(Application, Options[0]->fccHandler);
  if (Form->ShowModal() != mrOk || Form->Chosen() == 0) return FALSE;
  for (Integer I = 0; I < Count; ++I) {
    if (!Options[I]) continue;
    Options[I]->fccType = streamtypeVIDEO;
    Options[I]->fccHandler = Form->Chosen();
    Options[I]->dwQuality = 0xFFFFFFFFu;
    Options[I]->dwFlags |= AVICOMPRESSF_VALID;
  }
  return TRUE;
}
