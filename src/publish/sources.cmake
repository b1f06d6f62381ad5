# Publishing: the FTP and server protocols (core, no Qt) and the network seam.
find_package(OpenSSL REQUIRED)
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/../platform/posixsocket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/testing/scriptedsocket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tcpip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ftplist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ftp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ftpcomm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/versionpage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exportlistrows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ftppublisher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http10.cpp
  ${CMAKE_CURRENT_LIST_DIR}/descipher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tarn3comm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/netconfig.cpp
)
target_link_libraries(tarn_core PUBLIC OpenSSL::Crypto)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/krftptxrxbar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/krftplistview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/fftp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/tarn3txrxbar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/frete.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../app/ui/publishcommands.cpp
  )
endif()
