"""A keyboard for a native Wayland session, where no X tool reaches the programs: the
compositor's own remote-desktop service (GNOME's org.gnome.Mutter.RemoteDesktop on the
session's D-Bus session bus), which types as a keyboard plugged into the compositor would.

Debian's python3-dbus. The remote-desktop session lasts as long as this object's bus
connection.
"""

import dbus

SERVICE = "org.gnome.Mutter.RemoteDesktop"

# X keysyms of the keys the tests press.
KEYSYMS = {
    "Alt": 0xFFE9, "Return": 0xFF0D, "Escape": 0xFF1B, "BackSpace": 0xFF08, "Right": 0xFF53,
    "Down": 0xFF54, "Control": 0xFFE3, "F10": 0xFFC7,
}


class RemoteKeyboard:
    def __init__(self, bus_address):
        self._bus = dbus.bus.BusConnection(bus_address)
        desktop = self._bus.get_object(SERVICE, "/org/gnome/Mutter/RemoteDesktop")
        path = desktop.CreateSession(dbus_interface=SERVICE)
        self._session = dbus.Interface(self._bus.get_object(SERVICE, path),
                                       SERVICE + ".Session")
        self._session.Start()

    def close(self):
        try:
            self._session.Stop()
        except dbus.DBusException:
            pass
        self._bus.close()

    def _send(self, keysym, pressed):
        self._session.NotifyKeyboardKeysym(dbus.UInt32(keysym), dbus.Boolean(pressed))

    def key(self, name, *held):
        """Presses and lets go of a key (a name of KEYSYMS or one character), with the keys
        named in `held` held down around it."""
        for modifier in held:
            self._send(KEYSYMS[modifier], True)
        keysym = KEYSYMS.get(name) or ord(name)
        self._send(keysym, True)
        self._send(keysym, False)
        for modifier in reversed(held):
            self._send(KEYSYMS[modifier], False)

    def type(self, text):
        """Types plain ASCII text."""
        for character in text:
            self.key(character)
