#pragma once

// The accessible side of a password field. Qt 6.4 hands a password field's typed text to the accessibility
// bus in plain text, where any program of the member's session can read it. An item that declares
// `property bool secretText: true` is given an interface of ours instead: the field's name, role and
// state, and never its text. Every other item gets Qt Quick's own interface, which also says when the item
// is disabled (Qt 6.4's does not).
namespace SecretTextAccessibility {

// Once, before the first window: Qt Quick puts its own accessible factory in place with that window, and
// the first factory that answers for an item wins.
void install();

} // namespace SecretTextAccessibility
