// What a call to a sibling program over the bus can come back with. A
// sibling that does not answer in time, has no owner for its name and no
// activation file, or fails to start is "not available"; one that answers
// with an error is alive but refused the call.
#pragma once

#include <string>

namespace vx {

enum class TCallOutcome { coOk, coFailed, coUnavailable };

struct TCallResult {
  TCallOutcome Outcome = TCallOutcome::coUnavailable;
  std::string Error;  // the error's text when not coOk
  bool Ok() const { return Outcome == TCallOutcome::coOk; }
  bool Unavailable() const { return Outcome == TCallOutcome::coUnavailable; }
  static TCallResult Success() { return {TCallOutcome::coOk, {}}; }
};

template <class T>
struct TReply : TCallResult {
  T Value{};
  static TReply Of(T v) {
    TReply r;
    r.Outcome = TCallOutcome::coOk;
    r.Value = std::move(v);
    return r;
  }
  static TReply From(const TCallResult& failure) {
    TReply r;
    static_cast<TCallResult&>(r) = failure;
    return r;
  }
};

}  // namespace vx
