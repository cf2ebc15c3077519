# The notification inbox, its read-mark migration and the to-do banner, relative to portal/.
set(vorna_portal_inbox_sources)
set(vorna_portal_inbox_qml)
