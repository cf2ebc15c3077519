# The notification inbox, its read-mark migration and the to-do banner, relative to home/.
set(vorna_home_inbox_sources
  NoticeText.h NoticeText.cpp
  ReadMarks.h ReadMarks.cpp
  ReloadSchedule.h ReloadSchedule.cpp
  NoticeListModel.h NoticeListModel.cpp
  MemberNotificationsModel.h MemberNotificationsModel.cpp)
set(vorna_home_inbox_qml
  MemberNotificationsView.qml
  NoticeDetailPage.qml
  InboxHeader.qml
  TodoBanner.qml)
