// Methods of objects as event handlers that know which method they are, so
// that two events holding the same handler can be told apart from two
// different handlers (an action's OnExecute against a control's OnClick).
#pragma once

#include <array>
#include <cstring>
#include <functional>
#include <utility>

template <typename Signature>
class TMethod;

template <typename R, typename... A>
class TMethod<R(A...)> {
public:
    template <typename C>
    TMethod(C* AObject, R (C::*AMethod)(A...)) : FObject(AObject) {
        static_assert(sizeof(AMethod) <= sizeof(FCode), "member pointer too large");
        std::memcpy(FCode.data(), &AMethod, sizeof(AMethod));
        FCall = [AObject, AMethod](A... AArgs) -> R {
            return (AObject->*AMethod)(std::forward<A>(AArgs)...);
        };
    }

    R operator()(A... AArgs) const { return FCall(std::forward<A>(AArgs)...); }
    bool SameAs(const TMethod& AOther) const { return FObject == AOther.FObject && FCode == AOther.FCode; }

private:
    const void* FObject;
    std::array<unsigned char, 2 * sizeof(void*)> FCode{};
    std::function<R(A...)> FCall;
};

// True when both events hold the same method of the same object; handlers
// that are not TMethods are never the same as anything.
template <typename S1, typename S2>
bool SameMethod(const std::function<S1>& AFirst, const std::function<S2>& ASecond) {
    const auto* first = AFirst.template target<TMethod<S1>>();
    const auto* second = ASecond.template target<TMethod<S2>>();
    if constexpr (std::is_same_v<S1, S2>) {
        return first && second && first->SameAs(*second);
    } else {
        return false;
    }
}
