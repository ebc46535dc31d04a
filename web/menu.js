// The menu bar (Game: New, Pause, Exit; Help), the touch buttons (New,
// Pause) and the help box. The mouse or a finger opens the Game menu and
// picks its items; the controls never take the focus, so that keys stay the
// game's.
export function setUpMenu({ command }) {
  const title = document.getElementById("menu-game");
  const dropdown = document.getElementById("dropdown-game");
  const setOpen = (open) => {
    dropdown.hidden = !open;
    title.setAttribute("aria-expanded", String(open));
  };
  // Every button and box of the form and the touch bar: a click or a tap
  // (its mouse events) acts but leaves the focus where it was.
  for (const control of document.querySelectorAll("#form button, #form input, #touchbar button")) {
    control.tabIndex = -1;
    control.addEventListener("mousedown", (event) => event.preventDefault());
  }
  title.addEventListener("click", () => setOpen(dropdown.hidden));
  for (const item of document.querySelectorAll("[data-command]")) {
    item.addEventListener("click", (event) => {
      event.stopPropagation();
      setOpen(false);
      command(item.dataset.command);
    });
  }
  document.addEventListener("click", (event) => {
    if (!title.contains(event.target)) setOpen(false);
  });
  window.addEventListener("blur", () => setOpen(false));
  return { close: () => setOpen(false) };
}

// The help box is modal and stands the game still while it is open: `onOpen`
// freezes the game, `onClose` lets it go on.
export function setUpHelp({ onOpen, onClose }) {
  const box = document.getElementById("help");
  box.addEventListener("close", onClose);
  return {
    isOpen: () => box.open,
    open() {
      if (box.open) return;
      onOpen();
      box.showModal();
    },
  };
}
