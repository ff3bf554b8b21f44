#pragma once

// Errors that the renderers raise and the diagram's Draw turns into messages.
// Readers and loaders never raise for bad input: they return false and show a message.

#include <stdexcept>
#include <string>

namespace karvelo {

class ERes2Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

#define KARVELO_ERROR_CLASS(Name)  \
  class Name : public ERes2Error { \
   public:                         \
    using ERes2Error::ERes2Error;  \
  }

KARVELO_ERROR_CLASS(ERes2FileBadSetFile);
KARVELO_ERROR_CLASS(ERes2FileBadALTFile);
KARVELO_ERROR_CLASS(ERes2FileNoModelFile);
KARVELO_ERROR_CLASS(ERes2GrafDistScaleLabelError);
KARVELO_ERROR_CLASS(ERes2GrafDepthScaleError);
KARVELO_ERROR_CLASS(ERes2GrfmDistScaleLabelError);
KARVELO_ERROR_CLASS(ERes2GrfmDepthScaleLabelError);
KARVELO_ERROR_CLASS(ERes2GrfmNoGEOFile);
KARVELO_ERROR_CLASS(ERes2GrfmNoModelFile);
KARVELO_ERROR_CLASS(EKarvCapacity);
KARVELO_ERROR_CLASS(EKarvNoModelCreated);
// Arithmetic that cannot give a picture (a zero scale, a degenerate layout).
KARVELO_ERROR_CLASS(EKarvDivByZero);
KARVELO_ERROR_CLASS(EKarvInvalidOp);

#undef KARVELO_ERROR_CLASS

// A file input/output failure during drawing. The codes follow the classic run-time
// numbering that Draw maps to its messages: 100 read error, 101 write error, 102 file
// not assigned, 103 file not open, 104 not open for input, 105 not open for output,
// 106 invalid numeric format.
class EInOutError : public std::runtime_error {
 public:
  EInOutError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
  int ErrorCode() const { return code_; }

 private:
  int code_;
};

}  // namespace karvelo
