#pragma once
// The edits' built-in context menu as a skinned popup menu: captions from the skin's resource
// strings, the menu's skin from the edit's form.

// Lets every edit show its built-in menu through the skinned popup menu.
void InstallSkinnedEditMenus();
