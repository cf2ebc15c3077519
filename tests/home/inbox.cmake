# The notification inbox: notice texts, what a notice opens, marking read, the reloads and the read-mark
# hand-over, against the sample member service.
vorna_add_test(tst_inbox SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tst_inbox.cpp LIBRARIES vorna_home vorna_sample_service)
target_include_directories(tst_inbox PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
