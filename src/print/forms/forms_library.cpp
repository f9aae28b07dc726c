// The graphic forms and the banded report engine live in this folder.
namespace kasa_forms {
void linkAnchor() {}
}
