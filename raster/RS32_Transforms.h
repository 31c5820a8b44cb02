#pragma once
// The base of geometric transformations: a mapping between destination and source
// coordinates, forwards and in reverse, for integer, 16.16 fixed-point and float points.
// A descendant provides ReverseFloat and ForwardFloat (or the finer forms) and prepares its
// mapping in PrepareMapping.
#include "platform/system/Exceptions.h"
#include "raster/RS32.h"

TV_DECLARE_EXCEPTION(ETransformNotImplemented, Exception)

class TTransformation : public TNotifiablePersistent {
 public:
  // Marks the mapping for preparation before its next use.
  void Changed() override;
  virtual bool HasMappedBounds() { return true; }
  virtual TRect MappedBounds(const TRectFloat& SrcRect);

  TPoint ReversePoint(const TPoint& P);
  TFixedPoint ReversePoint(const TFixedPoint& P);
  TFloatPoint ReversePoint(const TFloatPoint& P);
  TPoint ForwardPoint(const TPoint& P);
  TFixedPoint ForwardPoint(const TFixedPoint& P);
  TFloatPoint ForwardPoint(const TFloatPoint& P);

  bool GetPrepared() const { return FPrepared; }

  // Integer coordinates beyond the 16.16 range go through the float forms instead of
  // wrapping around.
  virtual void ReverseInt(Integer X, Integer Y, Integer& DstX, Integer& DstY);
  virtual void ReverseFixed(TFixed16 X, TFixed16 Y, TFixed16& DstX, TFixed16& DstY);
  // Raises ETransformNotImplemented "Reverse transformation is not implemented in <class>."
  virtual void ReverseFloat(Single X, Single Y, Single& DstX, Single& DstY);
  virtual void ForwardInt(Integer X, Integer Y, Integer& DstX, Integer& DstY);
  virtual void ForwardFixed(TFixed16 X, TFixed16 Y, TFixed16& DstX, TFixed16& DstY);
  // Raises ETransformNotImplemented "Forward transformation is not implemented in <class>."
  virtual void ForwardFloat(Single X, Single Y, Single& DstX, Single& DstY);
  virtual void PrepareMapping() {}

 protected:
  void SetPrepared(bool Value) { FPrepared = Value; }

 private:
  void Prepare() {
    if (!FPrepared) PrepareMapping();
  }
  bool FPrepared = false;
};

// Round to the nearest integer, halves to even, kept inside the 32-bit range.
Integer RoundToInteger(Extended X);
