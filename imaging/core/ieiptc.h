#pragma once
// IPTC datasets of one picture (caption, keywords, credits, ...) in the IIM encoding: read
// from and written to the plain dataset stream of TIFF files or the Photoshop 3.0 image
// resource block of a JPEG APP13 marker.
#include <memory>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TIEIPTCInfoList : public TObject {
 public:
  TIEIPTCInfoList() = default;
  ~TIEIPTCInfoList() override;
  TIEIPTCInfoList(const TIEIPTCInfoList&) = delete;
  TIEIPTCInfoList& operator=(const TIEIPTCInfoList&) = delete;

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  Integer GetRecordNumber(Integer Index) const { return FItems[Index].RecordNumber; }
  Integer GetDataSet(Integer Index) const { return FItems[Index].DataSet; }
  // The item's own copy of its data (nullptr when it has none) and its length.
  const Byte* GetItemData(Integer Index) const { return FItems[Index].Data.get(); }
  Integer GetItemLength(Integer Index) const { return FItems[Index].Length; }

  // Copies Length bytes of Data; returns the new item's index.
  Integer AddItem(Integer Record, Integer DataSet, Integer Length, const void* Data);
  void Clear();
  void Assign(const TIEIPTCInfoList* Source);

  // A new buffer for the caller: with Photoshop the 26-byte "Photoshop 3.0" resource header
  // in front, else the record-version dataset; nullptr and 0 for an empty list.
  void SaveToBuffer(std::unique_ptr<Byte[]>& Buffer, Integer& Length, bool Photoshop) const;
  // Replaces the items by the datasets of Buffer (either form); true when one was read.
  // Reading ends at the first dataset that does not fit in Length bytes.
  bool LoadFromBuffer(const void* Buffer, Integer Length);

  // Set by AddItem, Clear and Assign; cleared by LoadFromBuffer. The JPEG writer rewrites
  // the APP13 marker when it is set.
  bool GetUserChanged() const { return FUserChanged; }
  void SetUserChanged(bool Value) { FUserChanged = Value; }

 private:
  struct TItem {
    Integer RecordNumber = 0;
    Integer DataSet = 0;
    Integer Length = 0;
    std::unique_ptr<Byte[]> Data;
  };
  std::vector<TItem> FItems;
  bool FUserChanged = false;
};
