# A 5 MB-attachment message built and delivered over SMTP against libcurl sending prebuilt bytes.
add_executable(mail_delivery_bench ${CMAKE_CURRENT_SOURCE_DIR}/MailDeliveryBench.cpp)
target_link_libraries(mail_delivery_bench PRIVATE vemo_sharing_services vemo_sandbox
                      benchmark::benchmark)
