#pragma once
// TIPDialogParams: the parameters of the processing preview dialogs. The program has no such
// dialogs; the record exists because every processing component owns and streams one.
#include <array>
#include <memory>

#include "imaging/core/hyiedefs.h"
#include "imaging/proc/ieprocfilters.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TMemoryStream;

class TIPDialogParams : public TObject {
 public:
  TIPDialogParams();
  ~TIPDialogParams() override;
  TIPDialogParams(const TIPDialogParams&) = delete;
  TIPDialogParams& operator=(const TIPDialogParams&) = delete;

  // Every field back to its default; the cache is cleared.
  void Reset();
  // Each stores one of the four selection values and clears the cache.
  void SetParamA(Integer Value);
  void SetParamB(Integer Value);
  void SetParamC(Integer Value);
  void SetParamD(Integer Value);

  Integer GetParamA() const { return FParamA; }
  Integer GetParamB() const { return FParamB; }
  Integer GetParamC() const { return FParamC; }
  Integer GetParamD() const { return FParamD; }
  // Preview data kept between dialog runs (owned).
  TMemoryStream* GetCache() const { return FCache.get(); }

  // The rest of the record, in its stored order.
  std::array<Integer, 11> Values{};
  TIEFilterKernel UserFilter;
  std::array<TIERGBTriple, 4> ColorPairs{};
  std::array<Integer, 3> Values2{};
  std::array<Integer, 2> Size1{};
  TIERGBTriple Color{};
  std::array<Integer, 4> Values3{};
  std::array<Integer, 2> Size2{};
  Double Factor1 = 0;
  std::array<Integer, 5> Values4{};
  Integer Value5 = 0;
  Integer Flag1 = 0;
  Double Value6 = 0;
  Double Factor2 = 0;
  std::array<Integer, 2> Values7{};
  Integer Flag2 = 0;

 private:
  Integer FParamA = -1;
  Integer FParamB = -1;
  Integer FParamC = -1;
  Integer FParamD = -1;
  std::unique_ptr<TMemoryStream> FCache;
};
