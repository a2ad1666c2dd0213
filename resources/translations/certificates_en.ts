<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QOVACertificatesView</name>
    <message id="STRING_VALIDATE_CERTIFICATE_FROM_SERVER">
        <source>Validate server certificates</source>
        <translation>Validate server certificates</translation>
    </message>
    <message id="STRING_ON">
        <source>On</source>
        <translation>On</translation>
    </message>
    <message id="STRING_OFF">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="STRING_CERTIFICATE_SIGNING_REQUEST">
        <source>Certificate Signing Request</source>
        <translation>Certificate Signing Request</translation>
    </message>
    <message id="STRING_CREATE">
        <source>Create</source>
        <translation>Create</translation>
    </message>
    <message id="STRING_INSTALLED_CERTIFICATES">
        <source>Installed Certificates</source>
        <translation>Installed Certificates</translation>
    </message>
    <message id="STRING_INSTALL">
        <source>Install</source>
        <translation>Install</translation>
    </message>
    <message id="STRING_NO_RECORDS_FOUND">
        <source>No records found</source>
        <translation>No records found</translation>
    </message>
    <message id="STRING_ISSUED_TO">
        <source>Issued To</source>
        <translation>Issued To</translation>
    </message>
    <message id="STRING_ISSUED_BY">
        <source>Issued By</source>
        <translation>Issued By</translation>
    </message>
    <message id="STRING_EXPIRATION_DATE">
        <source>Expiration Date</source>
        <translation>Expiration Date</translation>
    </message>
    <message id="STRING_TYPE">
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message id="STRING_CERTIFICATE_DETAILS">
        <source>Certificate Details</source>
        <translation>Certificate Details</translation>
    </message>
    <message id="STRING_DELETE">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="STRING_CREATE_CERTIFICATE_SIGNING_REQUEST">
        <source>Create Certificate Signing Request</source>
        <translation>Create Certificate Signing Request</translation>
    </message>
    <message id="STRING_CREATE_CERTIFICATE_TIP">
        <source>The device creates the key pair and the request; enter the subject below.</source>
        <translation>The device creates the key pair and the request; enter the subject below.</translation>
    </message>
    <message id="STRING_COUNTRY">
        <source>Country:</source>
        <translation>Country:</translation>
    </message>
    <message id="STRING_STATE_OR_PROVINCE">
        <source>State or Province:</source>
        <translation>State or Province:</translation>
    </message>
    <message id="STRING_CITY_OR_LOCALITY">
        <source>City or Locality:</source>
        <translation>City or Locality:</translation>
    </message>
    <message id="STRING_ORGANIZATION">
        <source>Organization:</source>
        <translation>Organization:</translation>
    </message>
    <message id="STRING_ORGANIZATION_UNIT">
        <source>Org. Unit:</source>
        <translation>Org. Unit:</translation>
    </message>
    <message id="STRING_COMMON_NAME">
        <source>Common Name:</source>
        <translation>Common Name:</translation>
    </message>
    <message id="STRING_CREATE_CERTIFICATE_SUCCESS">
        <source>Signing request created.</source>
        <translation>Signing request created.</translation>
    </message>
    <message id="STRING_DOWNLOAD">
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message id="STRING_MANUAL_UPDATE_FAILED">
        <source>The operation failed.</source>
        <translation>The operation failed.</translation>
    </message>
    <message id="STRING_INSTALL_CERTIFICATE">
        <source>Install Certificate</source>
        <translation>Install Certificate</translation>
    </message>
    <message id="STRING_TYPE1">
        <source>Type:</source>
        <translation>Type:</translation>
    </message>
    <message id="STRING_CERTIFICATE">
        <source>Certificate:</source>
        <translation>Certificate:</translation>
    </message>
    <message id="STRING_PRIVATE_KEY_PASSWORD">
        <source>Private Key Password</source>
        <translation>Private Key Password</translation>
    </message>
    <message id="STRING_CERTIFICATE_TYPE1">
        <source>Wi-Fi CA certificate</source>
        <translation>Wi-Fi CA certificate</translation>
    </message>
    <message id="STRING_CERTIFICATE_TYPE2">
        <source>Wi-Fi user certificate</source>
        <translation>Wi-Fi user certificate</translation>
    </message>
    <message id="STRING_CERTIFICATE_TYPE3">
        <source>Provisioning CA certificate</source>
        <translation>Provisioning CA certificate</translation>
    </message>
    <message id="STRING_CERTIFICATE_TYPE4">
        <source>Provisioning user certificate</source>
        <translation>Provisioning user certificate</translation>
    </message>
    <message id="NOTIFICATION_TIP_SAVE_FAILED">
        <source>Saving failed.</source>
        <translation>Saving failed.</translation>
    </message>
</context>
</TS>
