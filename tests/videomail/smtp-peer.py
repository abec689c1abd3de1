"""A mail server for the tests: aiosmtpd on 127.0.0.1 at a free port.

usage: smtp-peer.py FOLDER [plain]
Writes the port to FOLDER/port, and each message received to FOLDER/N.eml (the DATA bytes)
and FOLDER/N.json (the envelope). "plain" offers neither SIZE nor 8BITMIME.
"""
import asyncio
import json
import os
import sys

from aiosmtpd.smtp import SMTP


class Saver:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        with open(base + ".eml", "wb") as out:
            out.write(envelope.original_content)
        with open(base + ".json", "w") as out:
            json.dump({"from": envelope.mail_from, "to": envelope.rcpt_tos,
                       "options": envelope.mail_options}, out)
        return "250 OK"


async def main(folder, plain):
    handler = Saver(folder)
    options = {"data_size_limit": None, "decode_data": True} if plain else {}
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: SMTP(handler, **options), "127.0.0.1", 0)
    port = server.sockets[0].getsockname()[1]
    with open(os.path.join(folder, "port.tmp"), "w") as out:
        out.write(str(port))
    os.rename(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))
    await server.serve_forever()


asyncio.run(main(sys.argv[1], len(sys.argv) > 2 and sys.argv[2] == "plain"))
