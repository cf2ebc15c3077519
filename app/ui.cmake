# The theme, the brand animation and the shared components of the Vorna.App module, relative to app/.
set(vorna_app_ui_sources
  Theme.h Theme.cpp
  DesktopSettings.h DesktopSettings.cpp
  Typography.h
  ViewRules.h ViewRules.cpp
  ColumnsLayout.h ColumnsLayout.cpp
  InfoItem.h
  RouteArrow.h RouteArrow.cpp
  AvatarPicture.h AvatarPicture.cpp
  HeroBackground.h HeroBackground.cpp
  BrandRoute.h BrandRoute.cpp
  BrandArt.h BrandArt.cpp
  BrandCanvas.h BrandCanvas.cpp
  BrandMetrics.h BrandMetrics.cpp)
set(vorna_app_ui_qml
  Page.qml
  Card.qml
  SectionHeading.qml
  ErrorNotice.qml
  PressableStyle.qml
  GlassButton.qml
  Chip.qml
  StatusPill.qml
  DetailSection.qml
  FormHeader.qml
  Metric.qml
  InfoGrid.qml
  RowLabel.qml
  AccountAvatar.qml
  DateValue.qml
  AdaptiveColumns.qml
  ProgressBar.qml
  RouteLine.qml
  BrandLoader.qml
  InlineLoader.qml
  BrandStage.qml
  BrandIntro.qml
  BrandWaitingView.qml
  BrandLogo.qml)
# Our own brand art, drawn as vectors and rendered at the sizes the animation uses.
set(vorna_app_ui_resources
  brand/intro-1.svg
  brand/intro-2.svg
  brand/intro-4.svg
  brand/loader-t1i.svg
  brand/loader-t2i.svg
  brand/BrandMark.svg)
