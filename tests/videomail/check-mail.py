"""Parses a received mail with Python's email package and prints what the tests compare.

usage: check-mail.py MESSAGE.eml ATTACHMENT_FILE
"""
import sys
from email import message_from_bytes
from email.header import decode_header

with open(sys.argv[1], "rb") as f:
    mail = message_from_bytes(f.read())
with open(sys.argv[2], "rb") as f:
    expected = f.read()

print("type", mail.get_content_type())
print("boundary", mail.get_boundary())
subject = "".join(part.decode("cp949" if charset else "ascii") if isinstance(part, bytes) else part
                  for part, charset in decode_header(mail["Subject"]))
print("subject", subject)
body, attachment = mail.get_payload()
print("body-cte", body.get("Content-Transfer-Encoding", "none").lower())
print("attachment", attachment.get_filename())
print("same-bytes", attachment.get_payload(decode=True) == expected)
# The label is read as strict EUC-KR; the text is CP949.
text = body.get_payload(decode=True).decode("cp949")
print("body", text.replace("\r\n", "|"))
