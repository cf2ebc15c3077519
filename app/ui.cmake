# The theme, the brand animation and the shared components of the Vorna.App module, relative to app/.
set(vorna_app_ui_sources)
set(vorna_app_ui_qml)
set(vorna_app_ui_resources)
