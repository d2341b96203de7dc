#pragma once

#include <string>

#include "common/result_code.h"

namespace vantrel {

// Why a step failed, in one shape everywhere: the category the caller acts on (a result code, a
// file error kind), the system's error number when the system gave one, and a sentence for the
// user naming what failed. A default value is success.
//
// Callers decide on `code` and tests check `code` and `os_error`; `detail` is only shown.
template <typename Code>
struct Failure {
  Code code{};
  int os_error = 0;
  std::string detail;

  bool ok() const { return code == Code{}; }
};

// A failed printer or network exchange: open 1, write 2, read 3 (see result_code.h).
using LinkFailure = Failure<ResultCode>;

// Something opened or found, or the failure that kept it from being so. `value` is empty
// (null, nullopt) exactly when `failure` is not ok.
template <typename T>
struct Outcome {
  T value{};
  LinkFailure failure;
};

}  // namespace vantrel
