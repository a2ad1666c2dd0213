<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QOVANetworkDialogs</name>
    <message id="STRING_FIND_JOIN_WIFI_NETWORK">
        <source>Find and join a Wi-Fi network</source>
        <translation>Find and join a Wi-Fi network</translation>
    </message>
    <message id="STRING_IPV4_NETWORK">
        <source>IPv4 Network</source>
        <translation>IPv4 Network</translation>
    </message>
    <message id="STRING_IPV4_NETWORKSETTING_SUBTITLE">
        <source>Choose how the Ethernet port gets its IPv4 address.</source>
        <translation>Choose how the Ethernet port gets its IPv4 address.</translation>
    </message>
    <message id="METHOD">
        <source>Method</source>
        <translation>Method</translation>
    </message>
    <message id="STRING_DHCP">
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message id="STRING_STASTICS">
        <source>Static</source>
        <translation>Static</translation>
    </message>
    <message id="STRING_IP_ADDRESS">
        <source>IP Address</source>
        <translation>IP Address</translation>
    </message>
    <message id="STRING_SUBNET_MASK">
        <source>Subnet Mask</source>
        <translation>Subnet Mask</translation>
    </message>
    <message id="STRING_GATEWAY">
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message id="STRING_DNS_ADDRESS1">
        <source>DNS Server 1</source>
        <translation>DNS Server 1</translation>
    </message>
    <message id="STRING_DNS_ADDRESS2">
        <source>DNS Server 2</source>
        <translation>DNS Server 2</translation>
    </message>
    <message id="STRING_SEARCH_DOMAINS">
        <source>Search Domain</source>
        <translation>Search Domain</translation>
    </message>
    <message id="STRING_CANCEL">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="STRING_JOIN">
        <source>Join</source>
        <translation>Join</translation>
    </message>
    <message id="STRING_SAVE">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="STRING_INVALIDDATA_INPUT">
        <source>Invalid input</source>
        <translation>Invalid input</translation>
    </message>
    <message id="STRING_IPSETTINGS">
        <source>IP Settings</source>
        <translation>IP Settings</translation>
    </message>
    <message id="STRING_CHOOSE_FILE">
        <source>Choose File</source>
        <translation>Choose File</translation>
    </message>
    <message id="STRING_NO_FILE_CHOSEN">
        <source>No file chosen</source>
        <translation>No file chosen</translation>
    </message>
    <message id="STRING_ETHERNET_SECURITY_SETTINGS">
        <source>Ethernet Security</source>
        <translation>Ethernet Security</translation>
    </message>
    <message id="STRING_SET8021X_SUBTITLE">
        <source>Set up 802.1X authentication for the Ethernet port.</source>
        <translation>Set up 802.1X authentication for the Ethernet port.</translation>
    </message>
    <message id="STRING_SECURITY">
        <source>Security</source>
        <translation>Security</translation>
    </message>
    <message id="STRING_EAP_METHOD">
        <source>EAP Method</source>
        <translation>EAP Method</translation>
    </message>
    <message id="STRING_PHASE2">
        <source>Phase 2 Authentication</source>
        <translation>Phase 2 Authentication</translation>
    </message>
    <message id="STRING_AUTO_PAC_PROVISIONING">
        <source>PAC Provisioning</source>
        <translation>PAC Provisioning</translation>
    </message>
    <message id="STRING_IDENTIFY">
        <source>Identity</source>
        <translation>Identity</translation>
    </message>
    <message id="STRING_ANONYMOUS_IDENTIFY">
        <source>Anonymous Identity</source>
        <translation>Anonymous Identity</translation>
    </message>
    <message id="STRING_PRIVATE_KEY_PASSWORD">
        <source>Private Key Password</source>
        <translation>Private Key Password</translation>
    </message>
    <message id="STRING_CA_CERTIFICATE">
        <source>CA Certificate</source>
        <translation>CA Certificate</translation>
    </message>
    <message id="STRING_USER_CERTIFICATE">
        <source>User Certificate</source>
        <translation>User Certificate</translation>
    </message>
    <message id="STRING_PRIVATE_KEY">
        <source>Private Key</source>
        <translation>Private Key</translation>
    </message>
    <message id="STRING_PAC_FILE">
        <source>PAC File</source>
        <translation>PAC File</translation>
    </message>
    <message id="STRING_NONE">
        <source>None</source>
        <translation>None</translation>
    </message>
    <message id="STRING_ANONYMOUS">
        <source>Anonymous</source>
        <translation>Anonymous</translation>
    </message>
    <message id="STRING_AUTHENTICATED">
        <source>Authenticated</source>
        <translation>Authenticated</translation>
    </message>
    <message id="STRING_BOTH">
        <source>Both</source>
        <translation>Both</translation>
    </message>
    <message id="STRING_WIFI_NETWORK">
        <source>The Wi-Fi network</source>
        <translation>The Wi-Fi network</translation>
    </message>
    <message id="STRING_WIFI_REQUIRE_CREDENTIAL">
        <source>requires enterprise credentials.</source>
        <translation>requires enterprise credentials.</translation>
    </message>
    <message id="STRING_INSTALLED_CA_CERTIFICATE">
        <source>Installed CA certificate</source>
        <translation>Installed CA certificate</translation>
    </message>
    <message id="STRING_INSTALLED_USER_CERTIFICATE">
        <source>Installed user certificate</source>
        <translation>Installed user certificate</translation>
    </message>
    <message id="STRING_SHOW_ADVANCED_SETTINGS">
        <source>Show advanced settings</source>
        <translation>Show advanced settings</translation>
    </message>
    <message id="STRING_DONOT_VALIDATE">
        <source>Don't validate</source>
        <translation>Don't validate</translation>
    </message>
    <message id="NOTIFICATION_WIFI_JOIN_ERROR">
        <source>The device could not join the network.</source>
        <translation>The device could not join the network.</translation>
    </message>
    <message id="STRING_AUTOMATICALLY_CONNECT_NETWORK">
        <source>Auto-join networks</source>
        <translation>Auto-join networks</translation>
    </message>
    <message id="STRING_CONNECTED">
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message id="STRING_CONNECTING">
        <source>Connecting...</source>
        <translation>Connecting...</translation>
    </message>
    <message id="STRING_ENTER_NETWORK_NAME">
        <source>Enter the name and security type of the network you want to join.</source>
        <translation>Enter the name and security type of the network you want to join.</translation>
    </message>
    <message id="STRING_ETHERNET">
        <source>Ethernet</source>
        <translation>Ethernet</translation>
    </message>
    <message id="STRING_ETHERNET_IPV4_SETTINGS">
        <source>Ethernet IPv4 settings</source>
        <translation>Ethernet IPv4 settings</translation>
    </message>
    <message id="STRING_JOIN_OTHER_NETWORK">
        <source>Join other network...</source>
        <translation>Join other network...</translation>
    </message>
    <message id="STRING_MANAGE_KNOWN_NETWORKS">
        <source>Manage known networks</source>
        <translation>Manage known networks</translation>
    </message>
    <message id="STRING_ON">
        <source>On</source>
        <translation>On</translation>
    </message>
    <message id="STRING_OFF">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="STRING_REQUIRE_PASSWORD">
        <source>requires a password.</source>
        <translation>requires a password.</translation>
    </message>
    <message id="STRING_WIFI_NAME">
        <source>Network:</source>
        <translation>Network:</translation>
    </message>
    <message id="STRING_WIFI_STATUS">
        <source>Wi-Fi:</source>
        <translation>Wi-Fi:</translation>
    </message>
    <message id="STRING_USERNAME">
        <source>Username</source>
        <translation>Username</translation>
    </message>
    <message id="STRING_SHOW_PASSWORD">
        <source>Show password</source>
        <translation>Show password</translation>
    </message>
</context>
</TS>
