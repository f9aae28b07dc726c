namespace kasa_ui {
void linkAnchor() {}
}
