#pragma once

namespace framework_detail {

// The class of a member function pointer, for the thunks of the message and command
// tables.
template <class>
struct MemberOf;
template <class Class, class Result, class... Args>
struct MemberOf<Result (Class::*)(Args...)> {
    using type = Class;
};

} // namespace framework_detail
