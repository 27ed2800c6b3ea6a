# The COM1 round trip under Wine, with the host build's velmora-sim echoing behind the port.
set(VELMORA_HOST_SIM ${PROJECT_SOURCE_DIR}/build/host/bin/velmora-sim CACHE FILEPATH
    "velmora-sim of the host build: the peer behind Wine's COM1")

add_executable(win32_com1_tests ${CMAKE_CURRENT_SOURCE_DIR}/win32/platform_serial_test.cpp)
target_link_libraries(win32_com1_tests PRIVATE test_support)
gtest_discover_tests(win32_com1_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS wine TIMEOUT 60 FIXTURES_REQUIRED com1_peer RESOURCE_LOCK com1)

# A missing velmora-sim fails the setup, and with it every test that needs the peer.
set(peer_script ${CMAKE_CURRENT_SOURCE_DIR}/win32/com1-peer)
set(peer_state ${CMAKE_CURRENT_BINARY_DIR}/com1-peer)
add_test(NAME com1_peer_start COMMAND ${peer_script} start ${VELMORA_HOST_SIM} ${peer_state})
add_test(NAME com1_peer_stop COMMAND ${peer_script} stop ${peer_state})
set_tests_properties(com1_peer_start PROPERTIES LABELS wine FIXTURES_SETUP com1_peer RESOURCE_LOCK com1)
set_tests_properties(com1_peer_stop PROPERTIES LABELS wine FIXTURES_CLEANUP com1_peer RESOURCE_LOCK com1)
