#pragma once
// The exception tree. Every error the system raises derives from Exception, which carries
// its message; handlers catch by the most specific class they understand.
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string Msg = {}) : FMessage(std::move(Msg)) {}
  const std::string& GetMessage() const { return FMessage; }
  void SetMessage(std::string Msg) { FMessage = std::move(Msg); }
  // The class name as the platform reports it ("EConvertError"), used in messages.
  virtual const char* ClassName() const { return "Exception"; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

#define TV_DECLARE_EXCEPTION(Name, Base)                     \
  class Name : public Base {                                 \
   public:                                                   \
    using Base::Base;                                        \
    const char* ClassName() const override { return #Name; } \
  };

// Silent exception: unwinds without an error box.
TV_DECLARE_EXCEPTION(EAbort, Exception)
TV_DECLARE_EXCEPTION(EConvertError, Exception)
TV_DECLARE_EXCEPTION(EStreamError, Exception)
TV_DECLARE_EXCEPTION(EFCreateError, EStreamError)
TV_DECLARE_EXCEPTION(EFOpenError, EStreamError)
TV_DECLARE_EXCEPTION(EReadError, EStreamError)
TV_DECLARE_EXCEPTION(EWriteError, EStreamError)
TV_DECLARE_EXCEPTION(EResNotFound, Exception)
TV_DECLARE_EXCEPTION(EInOutError, Exception)
TV_DECLARE_EXCEPTION(EListError, Exception)
TV_DECLARE_EXCEPTION(EStringListError, Exception)
TV_DECLARE_EXCEPTION(EInvalidOperation, Exception)
TV_DECLARE_EXCEPTION(EInvalidPointer, Exception)
TV_DECLARE_EXCEPTION(EInvalidCast, Exception)
TV_DECLARE_EXCEPTION(EInvalidArgument, Exception)
TV_DECLARE_EXCEPTION(EOutOfMemory, Exception)
TV_DECLARE_EXCEPTION(EIntError, Exception)
TV_DECLARE_EXCEPTION(EIntOverflow, EIntError)
TV_DECLARE_EXCEPTION(EDivByZero, EIntError)
TV_DECLARE_EXCEPTION(ERangeError, EIntError)
TV_DECLARE_EXCEPTION(EMathError, Exception)
TV_DECLARE_EXCEPTION(EZeroDivide, EMathError)
TV_DECLARE_EXCEPTION(EOverflow, EMathError)
TV_DECLARE_EXCEPTION(EUnderflow, EMathError)
TV_DECLARE_EXCEPTION(EInvalidOp, EMathError)
TV_DECLARE_EXCEPTION(EAssertionFailed, Exception)
TV_DECLARE_EXCEPTION(EThread, Exception)
TV_DECLARE_EXCEPTION(EComponentError, Exception)
TV_DECLARE_EXCEPTION(EClassNotFound, Exception)
TV_DECLARE_EXCEPTION(EOSError, Exception)
TV_DECLARE_EXCEPTION(EExternal, Exception)
TV_DECLARE_EXCEPTION(EAccessViolation, EExternal)
TV_DECLARE_EXCEPTION(EIniFileException, Exception)
TV_DECLARE_EXCEPTION(EOutOfResources, Exception)
TV_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
TV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)

// Raises EAbort: ends the current operation without a message.
[[noreturn]] void Abort();
